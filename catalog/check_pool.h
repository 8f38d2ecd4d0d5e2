// Runs availability checks side by side, each in a BrindleCheck.exe process of its own while
// others are busy, so that checks that hang hold up neither each other nor the good ones: a set
// of checks ends within about one time limit however many of them hang. Beyond as many hanging
// checks as there may be helpers, the checks still waiting after a limit fail unrun.
#pragma once
#include "catalog/check_helper.h"

#include <windows.h>

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class CheckPool {
public:
    CheckPool(DWORD timeLimitMs, std::wstring helperPath);
    ~CheckPool();
    CheckPool(const CheckPool&) = delete;
    CheckPool& operator=(const CheckPool&) = delete;

    using Ticket = std::size_t;
    // Queues a check; it starts as soon as a helper is free (or a new one may be started).
    Ticket Add(const CheckRequest& request);
    // Runs the pool until the check of `ticket` has ended, and gives its result. Other checks go
    // on meanwhile.
    CheckResult Wait(Ticket ticket);

    // Once `event` is signalled, every running and queued check ends at once as Cancelled (and
    // so does every later one). Not owned; null for none.
    void SetCancelEvent(HANDLE event) { m_hCancel = event; }
    // Ends the helpers that have nothing to do.
    void EndIdleHelpers();

    // The first helper's process id, 0 when none runs.
    DWORD FirstHelperProcessId() const;

private:
    struct Job {
        CheckRequest request;
        CheckResult result;
        bool done = false;
        DWORD queuedAt = 0;
        int sendAttempts = 0;
        bool rerun = false;  // already run again once after its helper crashed around it
    };
    struct Slot {
        std::unique_ptr<CheckHelper> helper;
        Ticket job = 0;
        DWORD sentAt = 0;
        bool taken = false;  // the helper has read the check (a new helper must start first)
        DWORD takenAt = 0;
    };

    bool Cancelled() const;
    void Finish(Ticket ticket, CheckOutcome outcome, int answer = 0);
    void CancelAll();
    void CollectEnded(DWORD now);
    void HandOut(DWORD now);
    void FailOverdueQueue(DWORD now);
    void NoteTakenChecks(DWORD now);
    std::size_t FreshHelpers(DWORD now) const;
    bool MayStartAnotherHelper(DWORD now) const;
    void WaitForProgress(DWORD now);

    const DWORD m_nTimeLimitMs;
    const std::wstring m_strHelperPath;
    HANDLE m_hCancel = nullptr;
    std::vector<Job> m_jobs;
    std::deque<Ticket> m_queue;  // jobs no helper has taken yet
    std::vector<Slot> m_slots;
};

// At most this many helper processes run at once; beyond that checks wait for a free one.
constexpr std::size_t kMaxCheckHelpers = 16;
// A helper that has held its check this long may be stuck: a check still queued may get a new
// helper. Counted from when the helper read the check, since a new helper first has to start;
// even then a good check in a new helper may need this long under load, its library's imports
// being loaded for the first time (with less, a loaded machine starts helpers it does not need).
constexpr DWORD kCheckBusyBeforeNewHelperMs = 300;
// Fresh helpers (starting, or holding their check less than that) beyond which none is started.
constexpr std::size_t kCheckHelpersStartingAtOnce = 2;
// How often a helper that is starting is looked at while checks wait for a helper.
constexpr DWORD kCheckHelperStartPollMs = 20;
