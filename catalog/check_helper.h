// The hub's side of one BrindleCheck.exe process: starts it when a check needs it and hands it one
// check at a time; whoever runs the checks waits on its two handles and asks how the check went.
// A helper that crashed, ended or was killed is gone afterwards; the next check starts a fresh
// one. Helpers die with the process that started them, even when it is killed.
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
    // An idle helper ends by itself once its input closes; a busy one is killed.
    ~CheckHelper();
    CheckHelper(const CheckHelper&) = delete;
    CheckHelper& operator=(const CheckHelper&) = delete;

    enum class Sent {
        Running,   // the helper has the check
        NoHelper,  // no helper process could be started
        Gone,      // the helper ended before it took the check: send it again (a fresh one starts)
    };
    // Hands `request` to the helper, starting one when none runs.
    Sent Send(const CheckRequest& request);

    enum class Progress {
        Running,        // no answer yet
        Done,           // `result` tells how the check ended
        CrashedAround,  // the helper crashed outside the check (a thread of an earlier one?): run it again
    };
    // Without waiting: how the check sent last stands. Call when ReplyReady or Process wakes a wait.
    Progress Poll(CheckResult& result);

    // Ends the helper at once (a check over its time limit, or cut short).
    void Kill();

    // Whether the helper has read the check sent last (a new helper first has to start).
    bool TookCheck() const;

    // What a wait for the running check waits on.
    HANDLE ReplyReady() const { return m_hReplyReady.get(); }
    HANDLE Process() const { return m_hProcess.get(); }
    bool Busy() const { return m_bBusy; }

    // The running helper's process id, 0 when none runs (for tests that count restarts).
    DWORD ProcessId() const { return m_nProcessId; }

private:
    bool Start();
    bool IsRunning() const;
    void Close();
    bool TakeReply(CheckReply& reply);

    std::wstring m_strProgram;
    win::UniqueHandle m_hProcess;
    win::UniqueHandle m_hRequests;    // write end of the helper's input
    win::UniqueHandle m_hRequestsRead;  // its read end, to see whether the helper has read a check
    win::UniqueHandle m_hReplies;     // read end of the helper's output
    win::UniqueHandle m_hReplyReady;  // set by the helper after each reply
    DWORD m_nProcessId = 0;
    bool m_bBusy = false;
};

// BrindleCheck.exe in the folder of the running program.
std::wstring DefaultCheckHelperPath();
