// Force-included into GoogleTest and the tests: GCC 12's win32 thread model has
// no std::mutex, which GoogleTest's internal Notification needs. Supply it over
// a manual-reset Win32 event instead.
#pragma once
#define GTEST_HAS_NOTIFICATION_ 1
#ifdef __cplusplus
#include <windows.h>
namespace testing {
namespace internal {
class Notification {
public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};
}  // namespace internal
}  // namespace testing
#endif
