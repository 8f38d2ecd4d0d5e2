// The hub's side of BrindleCheck.exe: starts the helper when a check needs it, hands it one check
// at a time and waits for the answer at most the time limit. A helper that crashed, ended or ran
// out of time is gone afterwards; the next check starts a fresh one.
#pragma once
#include "catalog/check_outcome.h"
#include "catalog/check_protocol.h"
#include "win/handles.h"

#include <windows.h>

#include <string>

struct CheckResult {
    CheckOutcome outcome = CheckOutcome::NotRun;
    int answer = 0;  // the function's answer; 0 unless it answered
};

class CheckHelper {
public:
    explicit CheckHelper(std::wstring program);
    ~CheckHelper();
    CheckHelper(const CheckHelper&) = delete;
    CheckHelper& operator=(const CheckHelper&) = delete;

    CheckResult Run(const CheckRequest& request, DWORD timeLimitMs);

    // The running helper's process id, 0 when none runs (for tests that count restarts).
    DWORD ProcessId() const { return m_nProcessId; }

private:
    enum class Attempt { Done, HelperWasGone, Retry };
    Attempt RunOnce(const CheckRequest& request, DWORD timeLimitMs, CheckResult& result);
    bool Start();
    bool IsRunning() const;
    void Kill();
    void Close();
    bool TakeReply(CheckReply& reply);

    std::wstring m_strProgram;
    win::UniqueHandle m_hProcess;
    win::UniqueHandle m_hRequests;    // write end of the helper's input
    win::UniqueHandle m_hReplies;     // read end of the helper's output
    win::UniqueHandle m_hReplyReady;  // set by the helper after each reply
    DWORD m_nProcessId = 0;
};

// BrindleCheck.exe in the folder of the running program.
std::wstring DefaultCheckHelperPath();
