// BrindleCheck.exe: runs the hub's availability checks, one at a time, as the hub asks over two
// pipes. Whatever a check does to this process (crash, exit, hang) the hub sees as a failed check.
//   BrindleCheck <request pipe> <reply pipe> <reply event> <hub process>   (inherited handle values)
#include "catalog/check_protocol.h"
#include "checkhost/check_call.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

// Ends the process with a code the hub reads, instead of a crash dialog or a debugger.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS*)
{
    TerminateProcess(GetCurrentProcess(), IsCheckRunningOnThisThread() ? kHelperCrashedInCheck : kHelperCrashedElsewhere);
    return EXCEPTION_EXECUTE_HANDLER;
}

HANDLE HandleArgument(const wchar_t* text)
{
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(wcstoull(text, nullptr, 10)));
}

// Ends this process when the hub's does. The hub also puts its helpers in a job that ends them with
// it, but where the hub already runs in a job that cannot nest (before Windows 8) that fails.
struct HubWatch {
    HANDLE hub;
    HANDLE watching;  // set once the thread runs
};

DWORD WINAPI EndWithTheHub(void* parameter)
{
    const HubWatch watch = *static_cast<HubWatch*>(parameter);
    SetEvent(watch.watching);
    WaitForSingleObject(watch.hub, INFINITE);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

// A new thread needs the loader lock before it runs, and a check's library may hold that lock
// for good: the watch must be running before the first check. False when it could not start, or
// the hub ended first.
bool WatchTheHub(HANDLE hub)
{
    static HubWatch watch;  // outlives this call: the thread may read it after a false return
    watch = {hub, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    if (!watch.watching)
        return false;
    HANDLE thread = CreateThread(nullptr, 0, EndWithTheHub, &watch, 0, nullptr);
    bool running = false;
    if (thread) {
        HANDLE waits[] = {watch.watching, thread, hub};
        running = WaitForMultipleObjects(3, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
        CloseHandle(thread);
    }
    if (running)
        CloseHandle(watch.watching);
    return running;
}

// False at the end of the input (the hub closed it) or on a broken pipe.
bool ReadExactly(HANDLE pipe, char* bytes, size_t count)
{
    while (count > 0) {
        DWORD read = 0;
        if (!ReadFile(pipe, bytes, static_cast<DWORD>(count), &read, nullptr) || read == 0)
            return false;
        bytes += read;
        count -= read;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(EndOnCrash);
    if (argc != 1 + kCheckHelperArguments)
        return static_cast<int>(kHelperBadStart);
    HANDLE requests = HandleArgument(argv[1]);
    HANDLE replies = HandleArgument(argv[2]);
    HANDLE replyReady = HandleArgument(argv[3]);
    if (!WatchTheHub(HandleArgument(argv[4])))
        return static_cast<int>(kHelperBadStart);

    for (;;) {
        char header[kCheckRequestHeaderBytes];
        size_t textBytes = 0;
        if (!ReadExactly(requests, header, sizeof(header)))
            return 0;
        if (!CheckRequestTextBytes(header, textBytes))
            return static_cast<int>(kHelperBadStart);
        std::vector<char> text(textBytes);
        CheckRequest request;
        if ((textBytes > 0 && !ReadExactly(requests, text.data(), textBytes)) ||
            !DecodeCheckRequest(header, text, request))
            return static_cast<int>(kHelperBadStart);

        CheckReply reply = CallCheckInProcess(request);
        char bytes[kCheckReplyBytes];
        EncodeCheckReply(reply, bytes);
        DWORD written = 0;
        if (!WriteFile(replies, bytes, sizeof(bytes), &written, nullptr) || written != sizeof(bytes))
            return 0;
        SetEvent(replyReady);
        // A thread left running in an unloaded library will crash this process, and a library
        // whose start-up crashed may have left it in any state: end it first.
        if (reply.kind == CheckReplyKind::LeftThread || reply.kind == CheckReplyKind::CrashedLoading)
            TerminateProcess(GetCurrentProcess(), 0);
    }
}
