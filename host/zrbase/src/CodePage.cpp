// The host's ANSI code page, from its setting or the locale.
#include "zrbase/ZrCodePage.h"

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zrbase/zrwin.h"

namespace {

constexpr unsigned int kWesternEuropean = 1252;

std::atomic<unsigned int> g_codePage{0}; // 0: the environment's

std::string lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A charset named in a locale that is one of the known code pages, or 0.
unsigned int codePageOfCharset(const std::string& charset)
{
    std::string name;
    for (char c : lowered(charset))
        if (c != '-' && c != '_')
            name += c;
    if (name == "gbk" || name == "gb2312" || name == "gb18030" || name == "cp936" || name == "euccn")
        return 936;
    if (name == "big5" || name == "big5hkscs" || name == "cp950")
        return 950;
    if (name == "sjis" || name == "shiftjis" || name == "cp932")
        return 932;
    if (name.rfind("cp", 0) == 0 || name.rfind("windows", 0) == 0) {
        const unsigned long number = std::strtoul(name.c_str() + (name[0] == 'c' ? 2 : 7), nullptr, 10);
        if (number >= 1250 && number <= 1258)
            return static_cast<unsigned int>(number);
    }
    return 0;
}

// Windows' ANSI code page for a language (and territory).
unsigned int codePageOfLanguage(const std::string& language, const std::string& territory,
                                const std::string& modifier)
{
    static const struct {
        const char* languages;
        unsigned int codePage;
    } kLanguages[] = {
        {" ru uk be bg mk kk ky tt mn ba cv os ", 1251},
        {" cs sk pl hu hr sl ro sq bs ", 1250},
        {" el ", 1253},
        {" tr az ", 1254},
        {" he yi ", 1255},
        {" ar fa ur ps ", 1256},
        {" et lv lt ", 1257},
        {" vi ", 1258},
        {" ja ", 932},
    };
    if (language == "zh")
        return territory == "tw" || territory == "hk" || territory == "mo" ? 950 : 936;
    if (language == "sr")
        return modifier == "latin" ? 1250 : 1251;
    const std::string word = " " + language + " ";
    for (const auto& entry : kLanguages)
        if (std::strstr(entry.languages, word.c_str()))
            return entry.codePage;
    return kWesternEuropean;
}

} // namespace

bool zrIsKnownCodePage(unsigned int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 950 || (codePage >= 1250 && codePage <= 1258) ||
           codePage == 65001;
}

unsigned int zrCodePageOfLocale(const char* locale)
{
    if (!locale || !*locale)
        return kWesternEuropean;
    // language[_territory][.charset][@modifier]
    const std::string name = lowered(locale);
    const std::size_t at = name.find('@');
    const std::string modifier = at == std::string::npos ? std::string() : name.substr(at + 1);
    const std::string base = name.substr(0, at);
    const std::size_t dot = base.find('.');
    if (dot != std::string::npos)
        if (const unsigned int named = codePageOfCharset(base.substr(dot + 1)))
            return named;
    const std::string languageAndTerritory = base.substr(0, dot);
    const std::size_t underscore = languageAndTerritory.find('_');
    const std::string language = languageAndTerritory.substr(0, underscore);
    const std::string territory =
        underscore == std::string::npos ? std::string() : languageAndTerritory.substr(underscore + 1);
    return codePageOfLanguage(language, territory, modifier);
}

unsigned int zrCodePageOfEnvironment()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return zrCodePageOfLocale(value);
    }
    return kWesternEuropean;
}

void zrSetAnsiCodePage(unsigned int codePage) { g_codePage = zrIsKnownCodePage(codePage) ? codePage : 0; }

unsigned int GetACP()
{
    const unsigned int set = g_codePage;
    return set ? set : zrCodePageOfEnvironment();
}
