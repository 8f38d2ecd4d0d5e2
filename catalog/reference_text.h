// The text form of a registry reference: ROOT\subkey path\value name.
#pragma once
#include <string>

// True when the text begins with exactly "HKEY_" (case-sensitive).
bool IsRegistryReference(const std::wstring& text);

// The text before the first backslash; empty when there is none.
std::wstring ReferenceRootName(const std::wstring& text);

// Subkey path (between the first and last backslash, or the root name itself when there is a
// single backslash) and value name (after the last backslash; empty = the default value).
// False, outputs unchanged, when the text has no backslash.
bool SplitRegistryReference(const std::wstring& text, std::wstring& subkey, std::wstring& valueName);
