#include "win/privileges.h"

#include "win/handles.h"
#include "tests/support/restricted_token.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

win::UniqueHandle OpenOwnToken(DWORD access)
{
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), access, &token);
    return win::UniqueHandle(token);
}

// Attributes of the Administrators group in `token`; 0 when the token lacks it.
DWORD AdministratorsAttributes(HANDLE token)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token, TokenGroups, buffer.data(), size, &size))
        return 0;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins);
    DWORD attributes = 0;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (EqualSid(groups->Groups[i].Sid, admins))
            attributes = groups->Groups[i].Attributes;
    }
    FreeSid(admins);
    return attributes;
}

}  // namespace

TEST(Privileges, EnabledAdministratorsGroupOfTheProcessCounts)
{
    win::UniqueHandle token = OpenOwnToken(TOKEN_QUERY);
    ASSERT_TRUE(token);
    ASSERT_TRUE(AdministratorsAttributes(token.get()) & SE_GROUP_ENABLED) << "the test needs an elevated process";

    bool member = false;
    EXPECT_TRUE(IsBuiltinGroupMemberOfToken(token.get(), DOMAIN_ALIAS_RID_ADMINS, member));
    EXPECT_TRUE(member);

    member = true;
    EXPECT_TRUE(IsBuiltinGroupMemberOfToken(token.get(), 0x3e7, member));  // no such alias group
    EXPECT_FALSE(member);

    member = false;
    EXPECT_TRUE(IsAdministrator(&member));
    EXPECT_TRUE(member);
    EXPECT_TRUE(IsAdministratorOrUntested());
    EXPECT_FALSE(IsBuiltinGroupMember(DOMAIN_ALIAS_RID_ADMINS, nullptr));
}

TEST(Privileges, DenyOnlyAdministratorsGroupDoesNotCount)
{
    win::UniqueHandle filtered(TokenWithoutAdministrators());
    ASSERT_TRUE(filtered);

    // The group is still listed, but only for deny checks.
    ASSERT_TRUE(AdministratorsAttributes(filtered.get()) & SE_GROUP_USE_FOR_DENY_ONLY);

    bool member = true;
    EXPECT_TRUE(IsBuiltinGroupMemberOfToken(filtered.get(), DOMAIN_ALIAS_RID_ADMINS, member));
    EXPECT_FALSE(member);
}

TEST(Privileges, TokenWithoutQueryRightCannotBeTested)
{
    win::UniqueHandle token = OpenOwnToken(TOKEN_DUPLICATE);
    ASSERT_TRUE(token);
    bool member = true;
    EXPECT_FALSE(IsBuiltinGroupMemberOfToken(token.get(), DOMAIN_ALIAS_RID_ADMINS, member));
    EXPECT_FALSE(member);
}
