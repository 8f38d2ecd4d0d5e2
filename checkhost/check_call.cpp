#include "checkhost/check_call.h"
#include "win/handles.h"

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

using CheckFunction = int (*)(int, int);

#if defined(__i386__)
// A callee-cleaned (stdcall) function pops its own arguments, a caller-cleaned one does not.
// The thunk keeps the stack pointer in EBP across the call and restores it, so either works.
extern "C" int BrindleCallWithTwoInts(CheckFunction function, int first, int second);
asm(".text\n"
    ".globl _BrindleCallWithTwoInts\n"
    ".def _BrindleCallWithTwoInts; .scl 2; .type 32; .endef\n"
    "_BrindleCallWithTwoInts:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl 16(%ebp)\n"
    "    pushl 12(%ebp)\n"
    "    call *8(%ebp)\n"
    "    movl %ebp, %esp\n"
    "    popl %ebp\n"
    "    ret\n");
#else
// One calling convention on x86_64.
static int BrindleCallWithTwoInts(CheckFunction function, int first, int second)
{
    return function(first, second);
}
#endif

namespace {

DWORD g_checkThread = 0;  // the thread running a check, 0 between checks
DWORD g_loadingThread = 0;  // the check's thread while its library loads
volatile LONG g_faultsWhileLoading = 0;

// Sees every exception first, before the loader's own handler swallows one raised by a library's
// start-up code and reports only that the library did not load.
LONG WINAPI NoteFaultWhileLoading(EXCEPTION_POINTERS* exception)
{
    const DWORD code = exception->ExceptionRecord->ExceptionCode;
    if (g_loadingThread == GetCurrentThreadId() && (code >> 30) == 3)  // severity "error"
        InterlockedIncrement(&g_faultsWhileLoading);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Loads the check's library; `crashed` tells whether a failed load came from its start-up code
// raising an exception rather than from a missing or refused file.
HMODULE LoadCheckLibrary(const std::wstring& path, bool& crashed)
{
    void* watch = AddVectoredExceptionHandler(1, NoteFaultWhileLoading);
    g_faultsWhileLoading = 0;
    g_loadingThread = GetCurrentThreadId();
    HMODULE module = LoadLibraryW(path.c_str());
    g_loadingThread = 0;
    if (watch)
        RemoveVectoredExceptionHandler(watch);
    crashed = !module && g_faultsWhileLoading > 0;
    return module;
}

class RunningCheck {
public:
    RunningCheck() { g_checkThread = GetCurrentThreadId(); }
    ~RunningCheck() { g_checkThread = 0; }
    RunningCheck(const RunningCheck&) = delete;
    RunningCheck& operator=(const RunningCheck&) = delete;
};

struct ImageRange {
    UINT_PTR begin = 0;
    UINT_PTR end = 0;
};

ImageRange RangeOf(HMODULE module)
{
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    UINT_PTR begin = reinterpret_cast<UINT_PTR>(module);
    return {begin, begin + nt->OptionalHeader.SizeOfImage};
}

using QueryThread = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
constexpr int kThreadStartAddress = 9;  // ThreadQuerySetWin32StartAddress

// Whether a thread that began in `range` still runs: after its library is gone it can only crash.
bool ThreadLeftIn(const ImageRange& range)
{
    static const auto query = reinterpret_cast<QueryThread>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    if (!query)
        return false;
    win::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return false;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId())
            continue;
        win::UniqueHandle thread(OpenThread(THREAD_QUERY_INFORMATION | SYNCHRONIZE, FALSE, entry.th32ThreadID));
        UINT_PTR start = 0;
        if (!thread || query(thread.get(), kThreadStartAddress, &start, sizeof(start), nullptr) != 0)
            continue;
        if (start >= range.begin && start < range.end && WaitForSingleObject(thread.get(), 0) == WAIT_TIMEOUT)
            return true;
    }
    return false;
}

}  // namespace

bool IsCheckRunningOnThisThread()
{
    return g_checkThread != 0 && g_checkThread == GetCurrentThreadId();
}

CheckReply CallCheckInProcess(const CheckRequest& request)
{
    RunningCheck running;
    bool crashed = false;
    win::UniqueLibrary module(LoadCheckLibrary(request.library, crashed));
    if (!module)
        return {crashed ? CheckReplyKind::CrashedLoading : CheckReplyKind::NoLibrary, 0};
    // Exports are looked up by 8-bit name: two bytes per character plus two cover any ANSI code page.
    int capacity = static_cast<int>(request.function.size()) * 2 + 2;
    std::vector<char> name(static_cast<size_t>(capacity));
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, request.function.c_str(), -1, name.data(), capacity, nullptr,
                            nullptr) == 0)
        return {CheckReplyKind::NoFunction, 0};
    FARPROC address = GetProcAddress(module.get(), name.data());
    if (!address)
        return {CheckReplyKind::NoFunction, 0};
    int answer = BrindleCallWithTwoInts(reinterpret_cast<CheckFunction>(reinterpret_cast<void*>(address)),
                                        request.first, request.second);
    ImageRange range = RangeOf(module.get());
    module.reset();
    if (ThreadLeftIn(range))
        return {CheckReplyKind::LeftThread, answer};
    return {CheckReplyKind::Answered, answer};
}
