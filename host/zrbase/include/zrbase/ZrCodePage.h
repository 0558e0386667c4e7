#pragma once
// The host's ANSI code page: the Windows code page in which text that does
// not say its encoding is taken to be, as GetACP (zrwin.h) tells plug-ins.
// It is a system setting: the host sets it at start (nimb --codepage N);
// unless set, it comes from the locale of the process environment.

// The code pages the host knows: 932 (Shift JIS), 936 (GBK), 950 (Big5),
// 1250 to 1258 (Windows Central European to Vietnamese) and 65001 (UTF-8).
bool zrIsKnownCodePage(unsigned int codePage);

// The ANSI code page a locale name ("ru_RU.UTF-8", "zh_CN.GBK", "C") implies,
// as Windows picks it for the language: 1251 for Cyrillic languages, 936 for
// Simplified Chinese, ... A charset in the name that is itself one of the
// known code pages (".CP1251", ".GBK", ".BIG5", ".SJIS") wins. 1252 when the
// name is empty or says nothing the host knows.
unsigned int zrCodePageOfLocale(const char* locale);

// The locale of the process environment: LC_ALL, else LC_CTYPE, else LANG.
unsigned int zrCodePageOfEnvironment();

// Sets the ANSI code page (a known one); 0 goes back to the environment's.
void zrSetAnsiCodePage(unsigned int codePage);
