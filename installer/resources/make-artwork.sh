#!/usr/bin/env bash
# Draws the installer's artwork (PNG panels and button faces, icons) into the
# folder given as the first argument, and writes images.rc there listing the
# PNG resources. Uses ImageMagick only, so the result is the same on every
# build machine. Sizes are given in pixels at 96 DPI, as the dialog templates
# are laid out; the images are drawn at twice that size, so that they stay
# sharp when the windows draw them larger on high-DPI screens.
set -euo pipefail

out=${1:?output folder}
mkdir -p "$out"
cd "$out"

font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -f "$font" ] || font=DejaVu-Sans
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert

S=2 # drawing scale
navy='#16264A'
navy_light='#24407A'
blue='#2B5BD7'
blue_hover='#4170EE'
blue_pressed='#1D43A8'
grey_border='#C5CBD6'

px() { echo $(($1 * S)); }

# panel FILE WIDTH HEIGHT MARGIN RADIUS HEADER: white rounded panel with a
# navy header band and a soft shadow that fills the transparent margin.
panel() {
  local file=$1 w=$(px $2) h=$(px $3) m=$(px $4) r=$(px $5) header=$(px $6)
  local fw=$((w + 2 * m)) fh=$((h + 2 * m)) blur=$((m * 6 / 10))
  $convert -size ${fw}x${fh} xc:none \
    -fill 'rgba(8,20,48,0.42)' -draw "roundrectangle $m,$((m + 2 * S)),$((m + w - 1)),$((m + h + S)),$r,$r" \
    -channel A -blur 0x$((blur > 1 ? blur : 1)) +channel \
    \( -size ${w}x${h} xc:none \
       \( -size ${w}x${header} gradient:"$navy"-"$navy_light" -rotate -90 -resize ${w}x${header}\! \) \
       -geometry +0+0 -composite \
       -fill white -draw "rectangle 0,$header,$((w - 1)),$((h - 1))" \
       \( -size ${w}x${h} xc:black -fill white -draw "roundrectangle 0,0,$((w - 1)),$((h - 1)),$r,$r" \) \
       -alpha off -compose CopyOpacity -composite \) \
    -compose Over -geometry +$m+$m -composite "$file"
}

# decorate FILE TITLE SUBTITLE: soft circles, a wire-frame part and the lettering in the header.
decorate() {
  local file=$1 title=$2 subtitle=$3
  $convert "$file" \
    -fill 'rgba(255,255,255,0.06)' -draw "circle $(px 640),$(px 40) $(px 760),$(px 130)" \
    -draw "circle $(px 560),$(px 170) $(px 640),$(px 230)" \
    -stroke 'rgba(255,255,255,0.60)' -strokewidth $((2 * S)) -fill 'rgba(255,255,255,0.08)' \
    -draw "polygon $(px 600),$(px 72) $(px 640),$(px 52) $(px 680),$(px 72) $(px 640),$(px 92)" \
    -fill 'rgba(255,255,255,0.03)' \
    -draw "polygon $(px 600),$(px 72) $(px 640),$(px 92) $(px 640),$(px 142) $(px 600),$(px 122)" \
    -fill 'rgba(255,255,255,0.12)' \
    -draw "polygon $(px 680),$(px 72) $(px 640),$(px 92) $(px 640),$(px 142) $(px 680),$(px 122)" \
    -stroke none -fill 'rgba(120,160,255,0.85)' -draw "rectangle $(px 50),$(px 150) $(px 90),$(px 153)" \
    -font "$font" -fill white -pointsize $((34 * S)) -annotate +$(px 50)+$(px 92) "$title" \
    -fill '#AFC3F2' -pointsize $((16 * S)) -annotate +$(px 50)+$(px 126) "$subtitle" \
    "$file"
}

# badge FILE X Y: a round check mark on the finish panel.
badge() {
  local file=$1 x=$(px $2) y=$(px $3) r=$(px 26)
  $convert "$file" \
    -fill '#E6EDFC' -draw "circle $x,$y $((x + r + 6 * S)),$y" \
    -fill "$blue" -draw "circle $x,$y $((x + r)),$y" \
    -stroke white -strokewidth $((5 * S)) -fill none \
    -draw "stroke-linecap round stroke-linejoin round polyline $((x - 11 * S)),$((y + 1 * S)) $((x - 3 * S)),$((y + 9 * S)) $((x + 12 * S)),$((y - 8 * S))" \
    "$file"
}

# face FILE WIDTH HEIGHT FILL BORDER: a rounded button face.
face() {
  local file=$1 w=$(px $2) h=$(px $3) fill=$4 border=$5 r=$(px $(($3 / 2 < 8 ? $3 / 2 : 8)))
  $convert -size ${w}x${h} xc:none -fill "$fill" -stroke "$border" -strokewidth $S \
    -draw "roundrectangle $((S / 2)),$((S / 2)),$((w - 1 - S / 2)),$((h - 1 - S / 2)),$r,$r" "$file"
}

# folder FILE LINE FILL: the Browse button's folder glyph.
folder() {
  local file=$1 line=$2 fill=$3 k=$((4 * S)) # drawn large, then reduced for smooth edges
  $convert -size $((24 * k))x$((24 * k)) xc:none -stroke "$line" -strokewidth $((3 * k / 2)) -fill "$fill" \
    -draw "stroke-linejoin round path 'M $((3 * k)),$((7 * k)) L $((9 * k)),$((7 * k)) L $((11 * k)),$((9 * k)) L $((21 * k)),$((9 * k)) \
           L $((21 * k)),$((19 * k)) L $((3 * k)),$((19 * k)) Z'" \
    -draw "line $((3 * k)),$((11 * k)) $((21 * k)),$((11 * k))" \
    -resize $((24 * S))x$((24 * S)) "$file"
}

panel welcome.png 728 510 10 12 200
decorate welcome.png "Nimbra 2024" "Quor  ·  STEP and IGES import"
panel finish.png 728 510 10 12 200
decorate finish.png "Nimbra 2024" "Quor  ·  STEP and IGES import"
badge finish.png 374 256
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
folder browse_normal.png '#6B7A99' '#EEF2F9'
folder browse_hover.png "$blue" '#DCE6FB'
folder browse_pressed.png "$blue_pressed" '#C4D4F6'

$convert -size $(px 32)x$(px 32) xc:none -fill '#FDA911' -draw "circle $(px 16),$(px 16) $(px 16),$(px 1)" \
  -fill white -draw "roundrectangle $(px 14),$(px 7) $(px 18),$(px 19) $S,$S" \
  -draw "circle $(px 16),$(px 24) $(px 16),$((24 * S + 5 * S / 2))" tip_icon.png

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

# 8-bit RGBA throughout: the decoder on every system reads it.
for image in *.png; do $convert "$image" -depth 8 "PNG32:$image"; done

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
