// Availability checks: an exported function of a vendor's library decides whether an entry is offered.
#pragma once
#include <string>

// Evaluates "library, function, first[, second]": the function's answer (non-zero = available),
// 0 when the text does not have 3 or 4 fields or the function cannot be called.
int EvaluateAppCheckFunc(const std::wstring& spec);

// Loads `library` (a full load), calls its export `function` with (first, second) and releases it.
// Works for caller-cleaned and callee-cleaned functions alike. 0 when anything fails.
int CallCheckFunction(const std::wstring& library, const std::wstring& function, int first, int second);
