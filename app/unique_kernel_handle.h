// Move-only owner of one kernel object handle (mutex, event, thread, token, process).
#pragma once
#include <windows.h>

class UniqueKernelHandle {
public:
    UniqueKernelHandle() = default;
    // Takes ownership; INVALID_HANDLE_VALUE counts as no handle.
    explicit UniqueKernelHandle(HANDLE handle) : m_h(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~UniqueKernelHandle() { reset(); }

    UniqueKernelHandle(const UniqueKernelHandle&) = delete;
    UniqueKernelHandle& operator=(const UniqueKernelHandle&) = delete;
    UniqueKernelHandle(UniqueKernelHandle&& other) noexcept : m_h(other.release()) {}
    UniqueKernelHandle& operator=(UniqueKernelHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    HANDLE get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

    HANDLE release()
    {
        HANDLE h = m_h;
        m_h = nullptr;
        return h;
    }

    void reset(HANDLE handle = nullptr)
    {
        if (m_h)
            CloseHandle(m_h);
        m_h = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    }

private:
    HANDLE m_h = nullptr;
};
