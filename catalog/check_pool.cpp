#include "catalog/check_pool.h"

#include <algorithm>
#include <utility>

CheckPool::CheckPool(DWORD timeLimitMs, std::wstring helperPath)
    : m_nTimeLimitMs(timeLimitMs), m_strHelperPath(std::move(helperPath))
{
}

CheckPool::~CheckPool()
{
    EndIdleHelpers();  // the busy ones are killed as their owners go
}

CheckPool::Ticket CheckPool::Add(const CheckRequest& request)
{
    Job job;
    job.request = request;
    job.queuedAt = GetTickCount();
    m_jobs.push_back(std::move(job));
    m_queue.push_back(m_jobs.size() - 1);
    HandOut(GetTickCount());
    return m_jobs.size() - 1;
}

CheckResult CheckPool::Wait(Ticket ticket)
{
    for (;;) {
        const DWORD now = GetTickCount();
        if (Cancelled())
            CancelAll();
        CollectEnded(now);
        NoteTakenChecks(now);
        FailOverdueQueue(now);
        HandOut(now);
        if (m_jobs[ticket].done)
            return m_jobs[ticket].result;
        WaitForProgress(now);
    }
}

void CheckPool::EndIdleHelpers()
{
    m_slots.erase(std::remove_if(m_slots.begin(), m_slots.end(), [](Slot& slot) { return !slot.helper->Busy(); }),
                  m_slots.end());
}

DWORD CheckPool::FirstHelperProcessId() const
{
    return m_slots.empty() ? 0 : m_slots.front().helper->ProcessId();
}

bool CheckPool::Cancelled() const
{
    return m_hCancel && WaitForSingleObject(m_hCancel, 0) == WAIT_OBJECT_0;
}

void CheckPool::Finish(Ticket ticket, CheckOutcome outcome, int answer)
{
    m_jobs[ticket].result = {outcome, answer};
    m_jobs[ticket].done = true;
}

void CheckPool::CancelAll()
{
    for (Slot& slot : m_slots) {
        if (slot.helper->Busy()) {
            slot.helper->Kill();
            Finish(slot.job, CheckOutcome::Cancelled);
        }
    }
    for (Ticket ticket : m_queue)
        Finish(ticket, CheckOutcome::Cancelled);
    m_queue.clear();
}

void CheckPool::CollectEnded(DWORD now)
{
    for (Slot& slot : m_slots) {
        if (!slot.helper->Busy())
            continue;
        CheckResult result;
        switch (slot.helper->Poll(result)) {
        case CheckHelper::Progress::Done:
            Finish(slot.job, result.outcome, result.answer);
            break;
        case CheckHelper::Progress::CrashedAround:
            // Once more in a fresh helper: a second crash outside the check's own thread is its own.
            if (m_jobs[slot.job].rerun) {
                Finish(slot.job, CheckOutcome::Crashed);
            } else {
                m_jobs[slot.job].rerun = true;
                m_queue.push_front(slot.job);
            }
            break;
        case CheckHelper::Progress::Running:
            if (now - slot.sentAt >= m_nTimeLimitMs) {
                slot.helper->Kill();
                Finish(slot.job, CheckOutcome::TimedOut);
            }
            break;
        }
    }
}

void CheckPool::NoteTakenChecks(DWORD now)
{
    for (Slot& slot : m_slots) {
        if (slot.helper->Busy() && !slot.taken && slot.helper->TookCheck()) {
            slot.taken = true;
            slot.takenAt = now;
        }
    }
}

// Busy helpers that are starting, or have held their check for less time than a good one takes.
std::size_t CheckPool::FreshHelpers(DWORD now) const
{
    return static_cast<std::size_t>(std::count_if(m_slots.begin(), m_slots.end(), [now](const Slot& slot) {
        return slot.helper->Busy() && (!slot.taken || now - slot.takenAt < kCheckBusyBeforeNewHelperMs);
    }));
}

// Called when no helper is free: another may start while few of the busy ones are fresh, since
// those will likely be free soon; the others may be stuck.
bool CheckPool::MayStartAnotherHelper(DWORD now) const
{
    return m_slots.size() < kMaxCheckHelpers && FreshHelpers(now) < kCheckHelpersStartingAtOnce;
}

void CheckPool::HandOut(DWORD now)
{
    while (!m_queue.empty() && !Cancelled()) {
        // An idle helper that still runs is cheapest; then any idle slot; then a new helper.
        Slot* slot = nullptr;
        for (Slot& candidate : m_slots) {
            if (!candidate.helper->Busy() && (!slot || (candidate.helper->ProcessId() && !slot->helper->ProcessId())))
                slot = &candidate;
        }
        if (!slot) {
            if (!MayStartAnotherHelper(now))
                return;
            m_slots.push_back(Slot{std::make_unique<CheckHelper>(m_strHelperPath), 0, 0});
            slot = &m_slots.back();
        }
        const Ticket ticket = m_queue.front();
        m_queue.pop_front();
        switch (slot->helper->Send(m_jobs[ticket].request)) {
        case CheckHelper::Sent::Running:
            slot->job = ticket;
            slot->sentAt = GetTickCount();  // the limit counts from here, the helper's start included
            slot->taken = false;
            break;
        case CheckHelper::Sent::NoHelper:
            Finish(ticket, CheckOutcome::NoHelper);
            break;
        case CheckHelper::Sent::Gone:
            // The helper had ended between checks: once more, in a fresh one.
            if (++m_jobs[ticket].sendAttempts < 2)
                m_queue.push_front(ticket);
            else
                Finish(ticket, CheckOutcome::NoHelper);
            break;
        }
    }
}

// With as many helpers as there may be, each started for a check that seemed stuck, a check still
// waiting after a whole time limit has waited behind checks that hang: it fails rather than hold
// the set up for another limit. Short of that many helpers, checks only wait their turn.
void CheckPool::FailOverdueQueue(DWORD now)
{
    if (m_slots.size() < kMaxCheckHelpers)
        return;
    for (auto it = m_queue.begin(); it != m_queue.end();) {
        if (now - m_jobs[*it].queuedAt >= m_nTimeLimitMs) {
            Finish(*it, CheckOutcome::TimedOut);
            it = m_queue.erase(it);
        } else {
            ++it;
        }
    }
}

void CheckPool::WaitForProgress(DWORD now)
{
    std::vector<HANDLE> handles;
    if (m_hCancel)
        handles.push_back(m_hCancel);
    DWORD timeout = INFINITE;
    auto until = [&timeout, now](DWORD since, DWORD span) {
        const DWORD passed = now - since;
        timeout = std::min(timeout, passed < span ? span - passed : 0);
    };
    const bool mayGrow = !m_queue.empty() && m_slots.size() < kMaxCheckHelpers;
    for (const Slot& slot : m_slots) {
        if (!slot.helper->Busy())
            continue;
        handles.push_back(slot.helper->ReplyReady());
        handles.push_back(slot.helper->Process());
        until(slot.sentAt, m_nTimeLimitMs);
        // When this one stops counting as fresh, a queued check may get a new helper.
        if (mayGrow && !slot.taken)
            until(now, kCheckHelperStartPollMs);
        else if (mayGrow && now - slot.takenAt < kCheckBusyBeforeNewHelperMs)
            until(slot.takenAt, kCheckBusyBeforeNewHelperMs);
    }
    if (m_slots.size() >= kMaxCheckHelpers) {
        for (Ticket ticket : m_queue)
            until(m_jobs[ticket].queuedAt, m_nTimeLimitMs);
    }
    if (handles.empty()) {
        if (timeout != INFINITE)
            Sleep(timeout);
        return;
    }
    WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeout);
}
