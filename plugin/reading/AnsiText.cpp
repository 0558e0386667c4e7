#include "reading/AnsiText.h"

#include <Resource_Unicode.hxx>

#include <zrbase/zrwin.h>

bool isUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        std::size_t length;
        unsigned int least; // smallest code point of that length
        unsigned int code;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, least = 0x80, code = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, least = 0x800, code = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, least = 0x10000, code = lead & 0x07u;
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[k] & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        p += length;
    }
    return true;
}

Resource_FormatType ansiFormat()
{
    const unsigned int codePage = GetACP();
    switch (codePage) {
    case 932: return Resource_FormatType_SJIS;
    case 936: return Resource_FormatType_GBK;
    case 950: return Resource_FormatType_Big5;
    case 1250: return Resource_FormatType_CP1250;
    case 1251: return Resource_FormatType_CP1251;
    case 1252: return Resource_FormatType_CP1252;
    case 1253: return Resource_FormatType_CP1253;
    case 1254: return Resource_FormatType_CP1254;
    case 1255: return Resource_FormatType_CP1255;
    case 1256: return Resource_FormatType_CP1256;
    case 1257: return Resource_FormatType_CP1257;
    case 1258: return Resource_FormatType_CP1258;
    default: return Resource_FormatType_UTF8;
    }
}

std::size_t ansi_detail::characterLength(Resource_FormatType format, unsigned char lead)
{
    switch (format) {
    case Resource_FormatType_GBK: // lead bytes 0x81 to 0xFE; 0x80 stands alone
    case Resource_FormatType_Big5:
        return lead >= 0x81 && lead <= 0xFE ? 2 : 1;
    case Resource_FormatType_SJIS: // half-width katakana 0xA1 to 0xDF stand alone
        return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
    default:
        return 1;
    }
}

TCollection_ExtendedString textOfBytes(std::string_view bytes, Resource_FormatType format)
{
    const std::string text(bytes);
    if (format == Resource_FormatType_UTF8 || isUtf8(text))
        return TCollection_ExtendedString(text.c_str(), true);
    TCollection_ExtendedString result;
    splitAnsiRuns(
        text, format, [&](char c) { result += static_cast<Standard_ExtCharacter>(static_cast<unsigned char>(c)); },
        [&](std::string_view run) {
            TCollection_ExtendedString decoded;
            Resource_Unicode::ConvertFormatToUnicode(format, std::string(run).c_str(), decoded);
            result += decoded;
        });
    return result;
}
