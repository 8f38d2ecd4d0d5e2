#include "catalog/check_session.h"

#include <utility>

namespace {

CheckSession* g_current = nullptr;  // the catalogue is built on one thread only

}  // namespace

CheckSession::CheckSession(DWORD timeLimitMs, std::wstring helperPath)
    : m_pOuter(g_current), m_pool(timeLimitMs, std::move(helperPath))
{
    g_current = this;
}

CheckSession::~CheckSession()
{
    g_current = m_pOuter;
}

CheckSession* CheckSession::Current()
{
    return g_current;
}

void CheckSession::RunAhead(const std::vector<CheckRequest>& requests)
{
    for (const CheckRequest& request : requests) {
        const RequestKey key{request.library, request.function, request.first, request.second};
        m_ahead[key].push_back(m_pool.Add(request));
    }
}

void CheckSession::EndRunAhead()
{
    m_ahead.clear();
    m_pool.EndIdleHelpers();
}

CheckResult CheckSession::Run(const CheckRequest& request)
{
    CheckPool::Ticket ticket = 0;
    auto ahead = m_ahead.find(RequestKey{request.library, request.function, request.first, request.second});
    if (ahead != m_ahead.end()) {
        ticket = ahead->second.front();
        ahead->second.pop_front();
        if (ahead->second.empty())
            m_ahead.erase(ahead);
    } else {
        ticket = m_pool.Add(request);
    }
    CheckResult result = m_pool.Wait(ticket);
    Record(result.outcome);
    return result;
}
