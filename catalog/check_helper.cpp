#include "catalog/check_helper.h"

#include <utility>
#include <vector>

namespace {

constexpr DWORD kPipeBytes = 64 * 1024;  // a whole request fits: writing never waits for the helper
constexpr DWORD kKillWaitMs = 2000;

// An inheritable copy of `handle` for the child; the original stays private to this process.
win::UniqueHandle InheritableCopy(HANDLE handle)
{
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return {};
    return win::UniqueHandle(copy);
}

bool WriteAll(HANDLE pipe, const std::vector<char>& bytes)
{
    DWORD written = 0;
    return WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

CheckResult FromReply(const CheckReply& reply)
{
    switch (reply.kind) {
    case CheckReplyKind::Answered:
        return {reply.answer != 0 ? CheckOutcome::Passed : CheckOutcome::AnsweredZero, reply.answer};
    case CheckReplyKind::NoLibrary: return {CheckOutcome::NoLibrary, 0};
    case CheckReplyKind::NoFunction: return {CheckOutcome::NoFunction, 0};
    case CheckReplyKind::LeftThread: return {CheckOutcome::Crashed, 0};
    }
    return {CheckOutcome::Crashed, 0};
}

}  // namespace

std::wstring DefaultCheckHelperPath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return kCheckHelperFile;
        if (length < path.size()) {
            std::wstring text(path.data(), length);
            return text.substr(0, text.find_last_of(L"\\/") + 1) + kCheckHelperFile;
        }
        path.resize(path.size() * 2);
    }
}

CheckHelper::CheckHelper(std::wstring program) : m_strProgram(std::move(program)) {}

CheckHelper::~CheckHelper()
{
    // Closing its input ends a waiting helper; one that does not end soon is killed.
    m_hRequests.reset();
    if (m_hProcess && WaitForSingleObject(m_hProcess.get(), kKillWaitMs) != WAIT_OBJECT_0)
        Kill();
    Close();
}

bool CheckHelper::IsRunning() const
{
    return m_hProcess && WaitForSingleObject(m_hProcess.get(), 0) == WAIT_TIMEOUT;
}

bool CheckHelper::Start()
{
    Close();
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, nullptr, kPipeBytes))
        return false;
    win::UniqueHandle helperInput(read);
    m_hRequests.reset(write);
    if (!CreatePipe(&read, &write, nullptr, kPipeBytes))
        return false;
    m_hReplies.reset(read);
    win::UniqueHandle helperOutput(write);
    m_hReplyReady.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    // Whatever the check writes to the standard handles goes nowhere, not into the caller's output.
    win::UniqueFile nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                    OPEN_EXISTING, 0, nullptr));
    win::UniqueHandle input = InheritableCopy(helperInput.get());
    win::UniqueHandle output = InheritableCopy(helperOutput.get());
    win::UniqueHandle ready = m_hReplyReady ? InheritableCopy(m_hReplyReady.get()) : win::UniqueHandle();
    if (!input || !output || !ready || !nul)
        return false;

    std::wstring command = L"\"" + m_strProgram + L"\" " +
                           std::to_wstring(reinterpret_cast<UINT_PTR>(input.get())) + L" " +
                           std::to_wstring(reinterpret_cast<UINT_PTR>(output.get())) + L" " +
                           std::to_wstring(reinterpret_cast<UINT_PTR>(ready.get()));
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nul.get();
    si.hStdOutput = nul.get();
    si.hStdError = nul.get();
    PROCESS_INFORMATION pi = {};
    // Plain CreateProcess: the helper runs with this process's own token and rights.
    if (!CreateProcessW(m_strProgram.c_str(), buffer.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    m_hProcess.reset(pi.hProcess);
    m_nProcessId = pi.dwProcessId;
    return true;
}

void CheckHelper::Kill()
{
    if (!m_hProcess)
        return;
    TerminateProcess(m_hProcess.get(), 1);
    WaitForSingleObject(m_hProcess.get(), kKillWaitMs);
}

void CheckHelper::Close()
{
    m_hRequests.reset();
    m_hReplies.reset();
    m_hReplyReady.reset();
    m_hProcess.reset();
    m_nProcessId = 0;
}

// Reads a reply only when all of it is there, so a helper that wrote half of one cannot block us.
bool CheckHelper::TakeReply(CheckReply& reply)
{
    DWORD available = 0;
    if (!PeekNamedPipe(m_hReplies.get(), nullptr, 0, nullptr, &available, nullptr) || available < kCheckReplyBytes)
        return false;
    char bytes[kCheckReplyBytes];
    DWORD read = 0;
    return ReadFile(m_hReplies.get(), bytes, kCheckReplyBytes, &read, nullptr) && read == kCheckReplyBytes &&
           DecodeCheckReply(bytes, reply);
}

CheckHelper::Attempt CheckHelper::RunOnce(const CheckRequest& request, DWORD timeLimitMs, CheckResult& result)
{
    if (!IsRunning() && !Start()) {
        Close();
        result = {CheckOutcome::NoHelper, 0};
        return Attempt::Done;
    }
    if (!WriteAll(m_hRequests.get(), EncodeCheckRequest(request))) {
        Kill();
        Close();
        return Attempt::HelperWasGone;
    }
    const DWORD started = GetTickCount();
    for (;;) {
        DWORD spent = GetTickCount() - started;
        DWORD remaining = spent < timeLimitMs ? timeLimitMs - spent : 0;
        HANDLE waits[] = {m_hReplyReady.get(), m_hProcess.get()};
        DWORD woke = WaitForMultipleObjects(2, waits, FALSE, remaining);
        CheckReply reply;
        if (woke == WAIT_OBJECT_0 || woke == WAIT_OBJECT_0 + 1) {
            if (TakeReply(reply)) {
                result = FromReply(reply);
                if (reply.kind == CheckReplyKind::LeftThread) {
                    Kill();
                    Close();
                }
                return Attempt::Done;
            }
            if (woke == WAIT_OBJECT_0)
                continue;
            DWORD code = 0;
            GetExitCodeProcess(m_hProcess.get(), &code);
            Close();
            if (code == kHelperCrashedElsewhere)
                return Attempt::Retry;  // may be a thread an earlier check left behind
            result = {code == kHelperCrashedInCheck ? CheckOutcome::Crashed : CheckOutcome::Exited, 0};
            return Attempt::Done;
        }
        Kill();
        Close();
        result = {CheckOutcome::TimedOut, 0};
        return Attempt::Done;
    }
}

CheckResult CheckHelper::Run(const CheckRequest& request, DWORD timeLimitMs)
{
    CheckResult result;
    Attempt attempt = RunOnce(request, timeLimitMs, result);
    if (attempt == Attempt::HelperWasGone)
        attempt = RunOnce(request, timeLimitMs, result);
    if (attempt == Attempt::Retry) {
        // Once more in a fresh helper: a second crash outside the check's own thread is its own.
        attempt = RunOnce(request, timeLimitMs, result);
        if (attempt != Attempt::Done)
            result = {CheckOutcome::Crashed, 0};
    } else if (attempt == Attempt::HelperWasGone) {
        result = {CheckOutcome::NoHelper, 0};
    }
    return result;
}
