// COM initialised for the calling thread (single-threaded apartment) for the life of the object:
// what the accessibility interface marshals a window's object with to a reader in another
// process, and what the shell's execution functions expect of their caller.
#pragma once
#include <objbase.h>

namespace win {

class ComApartment {
public:
    ComApartment() : m_ok(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComApartment()
    {
        if (m_ok)
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_ok;  // S_FALSE (already initialised) also needs its CoUninitialize
};

}  // namespace win
