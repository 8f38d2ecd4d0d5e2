#include "catalog/check_session.h"

#include <utility>

namespace {

CheckSession* g_current = nullptr;  // the catalogue is built on one thread only

}  // namespace

CheckSession::CheckSession(DWORD timeLimitMs, std::wstring helperPath)
    : m_pOuter(g_current), m_nTimeLimitMs(timeLimitMs), m_helper(std::move(helperPath))
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

CheckResult CheckSession::Run(const CheckRequest& request)
{
    CheckResult result = m_helper.Run(request, m_nTimeLimitMs);
    Record(result.outcome);
    return result;
}
