// Turning raw registry data into text without reading past what the registry returned.
#pragma once
#include <cstddef>
#include <string>

// The UTF-16 string held in `bytes` bytes of `data`: an odd last byte is ignored and the
// text ends at the first NUL or at the end of the data, whichever comes first.
std::wstring TextFromStringData(const void* data, size_t bytes);

// REG_MULTI_SZ data as one text: every NUL except in the last two units becomes a LF,
// so the strings are joined by line feeds; data of two units or fewer is taken as it is.
std::wstring TextFromMultiStringData(const void* data, size_t bytes);
