#include "catalog/drop_reason.h"

const char* DropReasonName(DropReason reason)
{
    switch (reason) {
    case DropReason::None: return "";
    case DropReason::Hidden: return "hidden";
    case DropReason::AdminOnly: return "admin-only";
    case DropReason::CheckFailed: return "check-failed";
    case DropReason::NoName: return "no-name";
    case DropReason::BadNameReference: return "bad-name-reference";
    case DropReason::NoPath: return "no-path";
    case DropReason::NoCategory: return "no-category";
    case DropReason::NoIcon: return "no-icon";
    case DropReason::NoDescription: return "no-description";
    }
    return "";
}
