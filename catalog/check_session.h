// One catalogue build's availability checks. They run side by side in helper processes (a check
// pool), may be started ahead of the entries that ask for them, and share the pool's helpers.
// While a session exists, every check of this thread goes through it; without one, each check
// runs in a session of its own.
#pragma once
#include "catalog/check_pool.h"

#include <windows.h>

#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <vector>

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

    // Starts these checks now, side by side; Run then hands out their results.
    void RunAhead(const std::vector<CheckRequest>& requests);
    // Forgets results started ahead that no Run took, and ends the helpers left with nothing to do.
    void EndRunAhead();
    // The result of `request`: the first one started ahead and not yet taken, else run now.
    CheckResult Run(const CheckRequest& request);

    // Once `event` is signalled, running and later checks end at once as Cancelled. Not owned.
    void SetCancelEvent(HANDLE event) { m_pool.SetCancelEvent(event); }

    // How the last check since Forget ended (NotRun when none ran).
    void Record(CheckOutcome outcome) { m_lastOutcome = outcome; }
    CheckOutcome LastOutcome() const { return m_lastOutcome; }
    void ForgetLastOutcome() { m_lastOutcome = CheckOutcome::NotRun; }

    DWORD HelperProcessId() const { return m_pool.FirstHelperProcessId(); }

private:
    using RequestKey = std::tuple<std::wstring, std::wstring, int, int>;

    CheckSession* m_pOuter;
    CheckPool m_pool;
    std::map<RequestKey, std::deque<CheckPool::Ticket>> m_ahead;
    CheckOutcome m_lastOutcome = CheckOutcome::NotRun;
};
