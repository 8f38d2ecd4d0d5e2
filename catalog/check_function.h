// Availability checks: an exported function of a vendor's library decides whether an entry is offered.
// The function runs in BrindleCheck.exe (see check_session.h), so a check that crashes, hangs or
// ends its process costs only its own entry.
#pragma once
#include "catalog/check_helper.h"

#include <string>

// Evaluates "library, function, first[, second]": how the check ended and its answer.
CheckResult RunAppCheckFunc(const std::wstring& spec);

// The function's answer (non-zero = available); 0 when the text does not have 3 or 4 fields or
// the function cannot be called, crashes, ends its process or runs out of time.
int EvaluateAppCheckFunc(const std::wstring& spec);

// Loads `library` (a full load), calls its export `function` with (first, second) and releases it.
// Works for caller-cleaned and callee-cleaned functions alike. 0 when anything fails.
int CallCheckFunction(const std::wstring& library, const std::wstring& function, int first, int second);
