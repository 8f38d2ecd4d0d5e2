#include "win/privileges.h"

#include "win/handles.h"

#include <vector>

namespace {

bool g_platformQueried = false;
DWORD g_platformId = 0;

bool IsNtPlatform()
{
    QueryOsPlatform();
    return g_platformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

void QueryOsPlatform()
{
    if (g_platformQueried)
        return;
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&info))
        g_platformId = info.dwPlatformId;
#pragma GCC diagnostic pop
    g_platformQueried = true;
}

bool IsBuiltinGroupMemberOfToken(HANDLE token, DWORD rid, bool& member)
{
    member = false;
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenGroups, nullptr, 0, &size) && GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    if (size == 0)
        return false;
    std::vector<BYTE> buffer(size, 0);
    if (!GetTokenInformation(token, TokenGroups, buffer.data(), size, &size))
        return false;

    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID group = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, rid, 0, 0, 0, 0, 0, 0, &group))
        return false;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        // A deny-only or disabled group (a filtered token) does not count.
        const DWORD attributes = groups->Groups[i].Attributes;
        if (EqualSid(groups->Groups[i].Sid, group) && (attributes & SE_GROUP_ENABLED) &&
            !(attributes & SE_GROUP_USE_FOR_DENY_ONLY)) {
            member = true;
            break;
        }
    }
    FreeSid(group);
    return true;
}

bool IsBuiltinGroupMember(DWORD rid, bool* member)
{
    if (!member || !IsNtPlatform())
        return false;
    *member = false;
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return false;
    const win::UniqueHandle token(opened);
    bool result = false;
    const bool made = IsBuiltinGroupMemberOfToken(token.get(), rid, result);
    if (made)
        *member = result;
    return made;
}

bool IsAdministrator(bool* member)
{
    return IsBuiltinGroupMember(DOMAIN_ALIAS_RID_ADMINS, member);
}

bool IsAdministratorOrUntested()
{
    bool member = false;
    if (!IsAdministrator(&member))
        return true;
    return member;
}
