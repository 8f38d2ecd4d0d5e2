#include "catalog/check_function.h"
#include "catalog/check_session.h"
#include "catalog/registry_reference.h"
#include "catalog/text_fields.h"

#include <vector>

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
    std::vector<std::wstring> fields;
    SplitCommaList(spec, fields);
    if (fields.size() != 3 && fields.size() != 4) {
        if (CheckSession* session = CheckSession::Current())
            session->Record(CheckOutcome::BadFields);
        return {CheckOutcome::BadFields, 0};
    }
    // References are resolved here: the helper does not share this process's view of the registry.
    if (IsRegistryReference(fields[0]))
        fields[0] = ResolveRegistryReference(fields[0]);
    CheckRequest request;
    request.library = fields[0];
    request.function = fields[1];
    request.first = ParseLeadingInt(fields[2]);
    request.second = fields.size() == 4 ? ParseLeadingInt(fields[3]) : 0;
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
