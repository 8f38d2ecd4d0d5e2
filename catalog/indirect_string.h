// The indirect form of names and descriptions: "@library,-id" names a string resource.
#pragma once
#include <string>

// Resolves `text` in place. Plain text (no marker, or "@@..." which keeps one '@') stays as it is.
// A reference must have exactly two fields with a negative id; the library field may be a
// registry reference. The text becomes the string (empty when the library or string is missing).
// False for a malformed reference, text then holding the reference without its marker.
bool ApplyIndirectString(std::wstring& text);
