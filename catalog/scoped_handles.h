// Move-only owners of the handles the catalogue opens.
#pragma once
#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr)
    {
        if (handle_)
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

struct LibraryTraits {
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct RegistryKeyTraits {
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct IconTraits {
    static void Close(HICON h) { DestroyIcon(h); }
};

struct KernelHandleTraits {
    static void Close(HANDLE h) { CloseHandle(h); }
};

using UniqueLibrary = UniqueHandle<HMODULE, LibraryTraits>;
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueFile = UniqueHandle<HANDLE, KernelHandleTraits>;  // null, never INVALID_HANDLE_VALUE, when empty
