// Membership test for built-in groups of the process token.
#pragma once
#include <windows.h>

// Reads and caches the platform id once per process.
void QueryOsPlatform();

// Whether the group S-1-5-32-`rid` is present and enabled (not deny-only) in `token`'s groups.
// Returns whether the test could be made; `member` is set false first, then true on a match.
bool IsBuiltinGroupMemberOfToken(HANDLE token, DWORD rid, bool& member);

// The same for the current process token; false (and `member` untouched) off the NT family.
bool IsBuiltinGroupMember(DWORD rid, bool* member);

// IsBuiltinGroupMember with the Administrators group (544).
bool IsAdministrator(bool* member);

// True when the test could not be made; otherwise whether the process is an administrator.
bool IsAdministratorOrUntested();
