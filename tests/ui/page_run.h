// Runs a fresh main dialog through its modal loop with a start request and script steps, and
// closes it after the last step.
#pragma once
#include "tests/ui/modal_script.h"
#include "ui/start_request.h"

#include <windows.h>

#include <functional>
#include <vector>

// `opened` gets the dialog's window before the first step; `timeoutMs` bounds the whole run.
// False when not every step ran.
bool RunMainDialog(std::vector<ModalScript::Step> steps, const StartRequest& start,
                   const std::function<void(HWND dialog)>& opened, UINT timeoutMs);
