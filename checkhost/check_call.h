// Runs one check inside BrindleCheck.exe: load the library, call its export, unload it.
#pragma once
#include "catalog/check_protocol.h"

// Loads `request.library` (a full load), calls `request.function` with (first, second) in either
// calling convention and releases the library.
CheckReply CallCheckInProcess(const CheckRequest& request);

// Whether a check is running on this thread now (loading, calling or releasing its library).
bool IsCheckRunningOnThisThread();
