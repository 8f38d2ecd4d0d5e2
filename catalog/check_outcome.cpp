#include "catalog/check_outcome.h"

const char* CheckOutcomeName(CheckOutcome outcome)
{
    switch (outcome) {
    case CheckOutcome::NotRun: return "";
    case CheckOutcome::Passed: return "passed";
    case CheckOutcome::BadFields: return "bad-fields";
    case CheckOutcome::NoLibrary: return "no-library";
    case CheckOutcome::NoFunction: return "no-function";
    case CheckOutcome::AnsweredZero: return "answered-0";
    case CheckOutcome::Crashed: return "crashed";
    case CheckOutcome::TimedOut: return "timed-out";
    case CheckOutcome::Exited: return "exited";
    case CheckOutcome::NoHelper: return "no-helper";
    case CheckOutcome::Cancelled: return "cancelled";
    }
    return "";
}
