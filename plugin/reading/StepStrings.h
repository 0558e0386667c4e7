#pragma once
// STEP string literals that are not valid UTF-8, in the format's own escapes.
#include <string>
#include <string_view>

#include <Resource_FormatType.hxx>

// Copies the text of a STEP file (ISO 10303-21) to out with every string
// literal that is not valid UTF-8 rewritten: its ASCII characters as they
// are, its other characters, decoded in format, as \X2\hhhh...\X0\. Comments
// and everything outside literals are copied unchanged. True when a literal
// was rewritten; otherwise out is left empty.
bool escapeNonUtf8Strings(std::string_view file, Resource_FormatType format, std::string& out);
