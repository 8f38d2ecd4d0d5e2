#include "catalog/check_helper.h"

#include <utility>
#include <vector>

namespace {

constexpr DWORD kPipeBytes = 64 * 1024;  // a whole request fits: writing never waits for the helper
constexpr DWORD kKillWaitMs = 2000;

// An inheritable copy of `handle` for the child; the original stays private to this process.
win::UniqueHandle InheritableCopy(HANDLE handle, DWORD access = 0)
{
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, access, TRUE,
                         access ? 0 : DUPLICATE_SAME_ACCESS))
        return {};
    return win::UniqueHandle(copy);
}

// One job for every helper of this process. It is never closed here: its last handle goes when
// the process ends, however it ends, and the system then ends the helpers still in it.
HANDLE HelperJob()
{
    static const HANDLE job = [] {
        HANDLE created = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created &&
            !SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
            CloseHandle(created);
            created = nullptr;
        }
        return created;
    }();
    return job;
}

bool WriteAll(HANDLE pipe, const std::vector<char>& bytes)
{
    DWORD written = 0;
    return WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Replies after which the helper ends itself: a check left a thread, or its library's start crashed.
bool EndsTheHelper(CheckReplyKind kind)
{
    return kind == CheckReplyKind::LeftThread || kind == CheckReplyKind::CrashedLoading;
}

CheckResult FromReply(const CheckReply& reply)
{
    switch (reply.kind) {
    case CheckReplyKind::Answered:
        return {reply.answer != 0 ? CheckOutcome::Passed : CheckOutcome::AnsweredZero, reply.answer};
    case CheckReplyKind::NoLibrary: return {CheckOutcome::NoLibrary, 0};
    case CheckReplyKind::NoFunction: return {CheckOutcome::NoFunction, 0};
    case CheckReplyKind::LeftThread: return {CheckOutcome::Crashed, 0};
    case CheckReplyKind::CrashedLoading: return {CheckOutcome::Crashed, 0};
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
    // A waiting helper ends by itself when its input closes, without being waited for here.
    if (m_bBusy)
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
    win::UniqueHandle parent = InheritableCopy(GetCurrentProcess(), SYNCHRONIZE);
    if (!input || !output || !ready || !parent || !nul)
        return false;
    m_hRequestsRead = std::move(helperInput);

    std::wstring command = L"\"" + m_strProgram + L"\"";
    for (HANDLE handle : {input.get(), output.get(), ready.get(), parent.get()})
        command += L" " + std::to_wstring(reinterpret_cast<UINT_PTR>(handle));
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nul.get();
    si.hStdOutput = nul.get();
    si.hStdError = nul.get();
    PROCESS_INFORMATION pi = {};
    // Plain CreateProcess: the helper runs with this process's own token and rights. Not started
    // suspended: were this process ended before it resumed the helper, nothing would end that.
    // The helper starts nothing before its first check, which comes after it is in the job.
    if (!CreateProcessW(m_strProgram.c_str(), buffer.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    m_hProcess.reset(pi.hProcess);
    m_nProcessId = pi.dwProcessId;
    // Fails where this process runs in a job of its own that allows no nesting (before Windows 8):
    // the helper then ends itself when it sees this process end.
    if (HANDLE job = HelperJob())
        AssignProcessToJobObject(job, pi.hProcess);
    return true;
}

void CheckHelper::Kill()
{
    if (m_hProcess) {
        TerminateProcess(m_hProcess.get(), 1);
        WaitForSingleObject(m_hProcess.get(), kKillWaitMs);
    }
    Close();
}

void CheckHelper::Close()
{
    m_hRequests.reset();
    m_hRequestsRead.reset();
    m_hReplies.reset();
    m_hReplyReady.reset();
    m_hProcess.reset();
    m_nProcessId = 0;
    m_bBusy = false;
}

bool CheckHelper::TookCheck() const
{
    DWORD unread = 0;
    return PeekNamedPipe(m_hRequestsRead.get(), nullptr, 0, nullptr, &unread, nullptr) && unread == 0;
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

CheckHelper::Sent CheckHelper::Send(const CheckRequest& request)
{
    if (!IsRunning() && !Start()) {
        Close();
        return Sent::NoHelper;
    }
    if (!WriteAll(m_hRequests.get(), EncodeCheckRequest(request))) {
        Kill();
        return Sent::Gone;
    }
    m_bBusy = true;
    return Sent::Running;
}

CheckHelper::Progress CheckHelper::Poll(CheckResult& result)
{
    CheckReply reply;
    const bool ended = WaitForSingleObject(m_hProcess.get(), 0) == WAIT_OBJECT_0;
    if (TakeReply(reply)) {  // also one written just before the helper ended
        m_bBusy = false;
        result = FromReply(reply);
        if (EndsTheHelper(reply.kind) || ended)
            Kill();
        return Progress::Done;
    }
    if (!ended)
        return Progress::Running;
    DWORD code = 0;
    GetExitCodeProcess(m_hProcess.get(), &code);
    Close();
    if (code == kHelperCrashedElsewhere)
        return Progress::CrashedAround;
    result = {code == kHelperCrashedInCheck ? CheckOutcome::Crashed : CheckOutcome::Exited, 0};
    return Progress::Done;
}
