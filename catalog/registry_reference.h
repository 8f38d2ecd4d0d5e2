// Registry references: a text naming a value anywhere in the registry stands for that value's text.
#pragma once
#include "catalog/reference_text.h"

#include <windows.h>
#include <string>

// The predefined key named by the reference's root, or null for an unlisted or missing root.
HKEY RootKeyFromReference(const std::wstring& text);

// The text of the named value; empty when the root is unknown, the value cannot be read,
// or it is not a string type.
std::wstring ResolveRegistryReference(const std::wstring& text);
