// Text rules shared by the catalogue: comma lists, leading integers and the "@" marker.
#pragma once
#include <string>
#include <vector>

// Removes a leading '@'. True when a resource reference follows; false for plain text
// (no marker, or "@@..." which leaves one literal '@').
bool StripIndirectMarker(std::wstring& text);

// Appends the comma-separated fields of `text` to `list`, each trimmed of spaces (U+0020).
// Every comma separates and empty fields count, so "" gives one empty field.
void SplitCommaList(const std::wstring& text, std::vector<std::wstring>& list);

// Leading white space, optional sign, decimal digits up to the first other character;
// no digits gives 0, and values beyond the int range are clamped.
int ParseLeadingInt(const std::wstring& text);

// True when `text` begins with `prefix`, comparing exactly.
bool StartsWith(const std::wstring& text, const wchar_t* prefix);

// The extension of the file-name part of `path`: the text from its last dot, or empty.
std::wstring FileExtension(const std::wstring& path);

// Whether two texts are equal when ASCII letters are compared without regard to case.
bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b);
