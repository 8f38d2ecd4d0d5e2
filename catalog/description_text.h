// Line handling of catalogue descriptions.
#pragma once
#include <string>

// LF becomes the two-character escape "\n", then every "\n" escape becomes CR LF.
// A CR already standing before a LF stays.
void NormaliseLineBreaks(std::wstring& text);

// Line 0, 1 or 2 of `text` (lines end at LF; a CR just before the LF is not part of the line).
// Any other line number, or a line the text does not have, gives an empty string.
std::wstring DescriptionLine(const std::wstring& text, int line);
