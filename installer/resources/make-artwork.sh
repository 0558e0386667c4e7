#!/usr/bin/env bash
# Draws the installer's artwork (PNG panels and button faces, icons) into the
# folder given as the first argument, and writes images.rc there listing the
# PNG resources. Uses ImageMagick only, so the result is the same on every
# build machine. Sizes are pixels at 96 DPI and match the dialog templates.
set -euo pipefail

out=${1:?output folder}
mkdir -p "$out"
cd "$out"

font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -f "$font" ] || font=DejaVu-Sans
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert

navy='#16264A'
blue='#2B5BD7'
blue_hover='#4170EE'
blue_pressed='#1D43A8'
grey_border='#C5CBD6'

# panel FILE WIDTH HEIGHT MARGIN RADIUS HEADER: white rounded panel with a
# navy header band and a soft shadow that fills the transparent margin.
panel() {
  local file=$1 w=$2 h=$3 m=$4 r=$5 header=$6
  local fw=$((w + 2 * m)) fh=$((h + 2 * m)) blur=$((m * 6 / 10))
  $convert -size ${fw}x${fh} xc:none \
    -fill 'rgba(8,20,48,0.42)' -draw "roundrectangle $m,$((m + 2)),$((m + w - 1)),$((m + h + 1)),$r,$r" \
    -channel A -blur 0x$((blur > 1 ? blur : 1)) +channel \
    \( -size ${w}x${h} xc:none \
       -fill "$navy" -draw "roundrectangle 0,0,$((w - 1)),$((h - 1)),$r,$r" \
       -fill white -draw "rectangle 0,$header,$((w - 1)),$((h - 1 - r))" \
       -draw "roundrectangle 0,$header,$((w - 1)),$((h - 1)),$r,$r" \) \
    -geometry +$m+$m -composite "$file"
}

# decorate FILE X Y TITLE SUBTITLE: product lettering and a wire-frame cube in the header.
decorate() {
  local file=$1 x=$2 y=$3 title=$4 subtitle=$5
  $convert "$file" \
    -fill 'rgba(255,255,255,0.07)' -draw "circle 640,40 760,130" -draw "circle 560,170 640,230" \
    -stroke 'rgba(255,255,255,0.55)' -strokewidth 2 -fill none \
    -draw "polygon 600,70 640,50 680,70 640,90" -draw "polyline 600,70 600,120 640,140 680,120 680,70" \
    -draw "line 640,90 640,140" -stroke none \
    -font "$font" -fill white -pointsize 34 -annotate +$x+$y "$title" \
    -fill '#AFC3F2' -pointsize 16 -annotate +$x+$((y + 34)) "$subtitle" \
    "$file"
}

# face FILE WIDTH HEIGHT FILL BORDER: a rounded button face.
face() {
  local file=$1 w=$2 h=$3 fill=$4 border=$5 r=$(($3 / 2 < 8 ? $3 / 2 : 8))
  $convert -size ${w}x${h} xc:none -fill "$fill" -stroke "$border" -strokewidth 1 \
    -draw "roundrectangle 0.5,0.5,$((w - 1)).5,$((h - 1)).5,$r,$r" "$file"
}

folder() {
  local file=$1 colour=$2
  $convert -size 24x24 xc:none -fill "$colour" \
    -draw "roundrectangle 3,6 11,10 1,1" -draw "roundrectangle 3,8 21,19 2,2" \
    -fill white -draw "rectangle 5,11 19,12" "$file"
}

panel welcome.png 728 510 10 12 200
decorate welcome.png 50 92 "Nimbra 2024" "Quor  ·  STEP and IGES import"
panel finish.png 728 510 10 12 200
decorate finish.png 50 92 "Nimbra 2024" "Quor  ·  installation complete"
panel tip_panel.png 410 200 40 10 38

face install_normal.png 160 44 "$blue" "$blue"
face install_hover.png 160 44 "$blue_hover" "$blue_hover"
face install_pressed.png 160 44 "$blue_pressed" "$blue_pressed"
face install_disabled.png 160 44 '#8D99B8' '#8D99B8'
cp install_normal.png finish_normal.png
cp install_hover.png finish_hover.png
cp install_pressed.png finish_pressed.png
face ok_normal.png 114 32 "$blue" "$blue"
face ok_hover.png 114 32 "$blue_hover" "$blue_hover"
face ok_pressed.png 114 32 "$blue_pressed" "$blue_pressed"
face outline_normal.png 114 32 white "$grey_border"
face outline_hover.png 114 32 '#EEF2FA' '#9FB0D0'
face outline_pressed.png 114 32 '#DCE3F0' '#8497BC'
face exit_normal.png 88 32 white "$grey_border"
face exit_hover.png 88 32 '#EEF2FA' '#9FB0D0'
face exit_pressed.png 88 32 '#DCE3F0' '#8497BC'
folder browse_normal.png '#5A6B8C'
folder browse_hover.png "$blue"
folder browse_pressed.png "$blue_pressed"

$convert -size 32x32 xc:none -fill '#FDA911' -draw "circle 15.5,15.5 15.5,1" \
  -fill white -draw "roundrectangle 14,7 17,19 1,1" -draw "circle 15.5,24 15.5,26" tip_icon.png

# Icons with the sizes the check box loads at 96, 120 and 144 DPI.
$convert -size 64x64 xc:none -fill "$navy" -draw "roundrectangle 0,0 63,63 12,12" \
  -fill white -font "$font" -pointsize 44 -gravity center -annotate +0+0 "Q" app64.png
$convert app64.png -define icon:auto-resize=48,32,24,16 app.ico
$convert -size 48x48 xc:none -fill "$blue" -draw "roundrectangle 1,1 46,46 8,8" \
  -stroke white -strokewidth 6 -fill none -draw "polyline 11,24 20,33 37,14" ticked48.png
$convert ticked48.png -define icon:auto-resize=48,32,24,20,16 check_ticked.ico
$convert -size 48x48 xc:none -fill white -stroke '#8D99B8' -strokewidth 4 \
  -draw "roundrectangle 3,3 44,44 8,8" unticked48.png
$convert unticked48.png -define icon:auto-resize=48,32,24,20,16 check_unticked.ico

cat > images.rc <<'RC'
252 PNG "welcome.png"
258 PNG "finish.png"
254 PNG "tip_panel.png"
247 PNG "browse_normal.png"
273 PNG "browse_pressed.png"
274 PNG "browse_hover.png"
248 PNG "install_normal.png"
249 PNG "install_hover.png"
250 PNG "install_pressed.png"
251 PNG "install_disabled.png"
275 PNG "exit_normal.png"
276 PNG "exit_pressed.png"
277 PNG "exit_hover.png"
299 PNG "finish_normal.png"
300 PNG "finish_pressed.png"
301 PNG "finish_hover.png"
288 PNG "outline_normal.png"
289 PNG "outline_pressed.png"
290 PNG "outline_hover.png"
291 PNG "outline_normal.png"
292 PNG "outline_pressed.png"
293 PNG "outline_hover.png"
294 PNG "tip_icon.png"
295 PNG "ok_normal.png"
296 PNG "ok_pressed.png"
297 PNG "ok_hover.png"
RC
