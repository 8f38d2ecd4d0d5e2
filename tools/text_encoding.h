// UTF-8 and JSON text for the inspector's output.
#pragma once
#include <string>

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(const std::wstring& text);

// A JSON string literal, quotes included: '"', '\\' and control characters are escaped.
std::string JsonString(const std::wstring& text);
