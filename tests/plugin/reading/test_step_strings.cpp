// STEP string literals in raw code-page bytes, rewritten in STEP's escapes.
#include <gtest/gtest.h>

#include "reading/AnsiText.h"
#include "reading/StepStrings.h"

TEST(StepStrings, LiteralsThatAreNotUtf8AreEscaped)
{
    struct Case {
        const char* what;
        Resource_FormatType format;
        std::string file;
        std::string rewritten; // empty: left as it is
    } cases[] = {
        {"ASCII only", Resource_FormatType_CP1251, "#1=PRODUCT('Part','',(#2));", ""},
        {"UTF-8 stays", Resource_FormatType_CP1251, "#1=PRODUCT('\xD0\xA1\xD0\xB1','',(#2));", ""},
        {"CP1251", Resource_FormatType_CP1251, "#1=PRODUCT('\xD1\xE1' , 'x');",
         "#1=PRODUCT('\\X2\\04210431\\X0\\' , 'x');"},
        {"between ASCII", Resource_FormatType_CP1251, "('A\xD1" "B')", "('A\\X2\\0421\\X0\\B')"},
        {"a doubled quote", Resource_FormatType_CP1251, "('it''s \xD1')", "('it''s \\X2\\0421\\X0\\')"},
        {"a comment is no literal", Resource_FormatType_CP1251, "/* don't \xD1 */ #1=A('\xD1');",
         "/* don't \xD1 */ #1=A('\\X2\\0421\\X0\\');"},
        {"escapes kept", Resource_FormatType_CP1251, "('\\X2\\87BA\\X0\\ \xD1')",
         "('\\X2\\87BA\\X0\\ \\X2\\0421\\X0\\')"},
        {"GBK", Resource_FormatType_GBK, "('\xC2\xDD\xCB\xA8 M8')", "('\\X2\\87BA6813\\X0\\ M8')"},
        // A trail byte that is a backslash belongs to its character.
        {"GBK trail byte 0x5C", Resource_FormatType_GBK, "('\xD5\x5C')", "('\\X2\\8AA0\\X0\\')"},
        {"a host that takes all as UTF-8", Resource_FormatType_UTF8, "('\xD1\xE1')", ""},
        {"an unclosed literal", Resource_FormatType_CP1251, "('\xD1", "('\\X2\\0421\\X0\\"},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(escapeNonUtf8Strings(c.file, c.format, out), !c.rewritten.empty()) << c.what;
        EXPECT_EQ(out, c.rewritten) << c.what;
    }
}

TEST(AnsiText, Utf8IsTakenAsItIsAndAnythingElseInTheCodePage)
{
    EXPECT_TRUE(isUtf8("plain"));
    EXPECT_TRUE(isUtf8("\xE8\x9E\xBA\xF0\x9F\x94\xA9"));
    EXPECT_FALSE(isUtf8("\xC0\xAF"));         // an overlong slash
    EXPECT_FALSE(isUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(isUtf8("\xE8\x9E"));         // cut short
    EXPECT_FALSE(isUtf8("\xD1\xE1\xEE"));     // CP1251
    const TCollection_ExtendedString russian = textOfBytes("\xD1\xE1" "1", Resource_FormatType_CP1251);
    ASSERT_EQ(russian.Length(), 3);
    EXPECT_EQ(russian.Value(1), 0x0421);
    EXPECT_EQ(russian.Value(2), 0x0431);
    EXPECT_EQ(russian.Value(3), '1');
    const TCollection_ExtendedString utf8 = textOfBytes("\xD0\xA1", Resource_FormatType_CP1251);
    ASSERT_EQ(utf8.Length(), 1);
    EXPECT_EQ(utf8.Value(1), 0x0421);
}
