// Tokens for tests that need a process without administrator rights.
#pragma once
#include <windows.h>

// A primary token of this process with the Administrators group made deny-only (as a filtered
// token is); null on failure. The caller closes it.
HANDLE TokenWithoutAdministrators();
