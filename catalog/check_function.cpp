#include "catalog/check_function.h"
#include "catalog/check_requests.h"
#include "catalog/check_session.h"

namespace {

CheckResult RunRequest(const CheckRequest& request)
{
    if (CheckSession* session = CheckSession::Current())
        return session->Run(request);
    CheckSession once;
    return once.Run(request);
}

}  // namespace

CheckResult RunAppCheckFunc(const std::wstring& spec)
{
    CheckRequest request;
    if (!CheckRequestFromSpec(spec, request)) {
        if (CheckSession* session = CheckSession::Current())
            session->Record(CheckOutcome::BadFields);
        return {CheckOutcome::BadFields, 0};
    }
    return RunRequest(request);
}

int EvaluateAppCheckFunc(const std::wstring& spec)
{
    return RunAppCheckFunc(spec).answer;
}

int CallCheckFunction(const std::wstring& library, const std::wstring& function, int first, int second)
{
    return RunRequest({library, function, first, second}).answer;
}
