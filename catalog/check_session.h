// One catalogue build's availability checks: they share one helper process, started at the first
// check. While a session exists, every check of this thread goes through it; without one, each
// check runs in a helper of its own.
#pragma once
#include "catalog/check_helper.h"

#include <windows.h>

#include <string>

// How long one check may take before it counts as failed and its helper is killed.
constexpr DWORD kCheckTimeLimitMs = 5000;

class CheckSession {
public:
    explicit CheckSession(DWORD timeLimitMs = kCheckTimeLimitMs, std::wstring helperPath = DefaultCheckHelperPath());
    ~CheckSession();
    CheckSession(const CheckSession&) = delete;
    CheckSession& operator=(const CheckSession&) = delete;

    // The innermost session alive, or null.
    static CheckSession* Current();

    CheckResult Run(const CheckRequest& request);

    // How the last check since Forget ended (NotRun when none ran).
    void Record(CheckOutcome outcome) { m_lastOutcome = outcome; }
    CheckOutcome LastOutcome() const { return m_lastOutcome; }
    void ForgetLastOutcome() { m_lastOutcome = CheckOutcome::NotRun; }

    DWORD HelperProcessId() const { return m_helper.ProcessId(); }

private:
    CheckSession* m_pOuter;
    DWORD m_nTimeLimitMs;
    CheckHelper m_helper;
    CheckOutcome m_lastOutcome = CheckOutcome::NotRun;
};
