#include "win/file_trust.h"

#include "win/handles.h"

#include <aclapi.h>
#include <sddl.h>

namespace win {

namespace {

// Rights that change a file or a folder, its contents or who may do so.
constexpr ACCESS_MASK kChangingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                        FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                        GENERIC_ALL | MAXIMUM_ALLOWED;

// A well-known SID of the NT authority: S-1-5-`first`[-`second`].
class NtSid {
public:
    NtSid(DWORD first, DWORD second, BYTE count)
    {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        if (!::AllocateAndInitializeSid(&nt, count, first, second, 0, 0, 0, 0, 0, 0, &m_sid))
            m_sid = nullptr;
    }
    ~NtSid()
    {
        if (m_sid)
            ::FreeSid(m_sid);
    }
    NtSid(const NtSid&) = delete;
    NtSid& operator=(const NtSid&) = delete;
    bool Is(PSID other) const { return m_sid && other && ::IsValidSid(other) && ::EqualSid(m_sid, other); }

private:
    PSID m_sid = nullptr;
};

bool IsTrusted(PSID sid, PSID administratorAccount)
{
    static const NtSid system(SECURITY_LOCAL_SYSTEM_RID, 0, 1);
    static const NtSid administrators(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 2);
    if (system.Is(sid) || administrators.Is(sid))
        return true;
    return administratorAccount && sid && ::IsValidSid(administratorAccount) && ::IsValidSid(sid) &&
           ::EqualSid(administratorAccount, sid);
}

bool EntryAllowsOnlyTrusted(const ACE_HEADER* header, PSID administratorAccount)
{
    if (header->AceFlags & INHERIT_ONLY_ACE)
        return true;  // applies to children made later, not to this object
    switch (header->AceType) {
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
        return true;  // denying only takes away
    case ACCESS_ALLOWED_ACE_TYPE: {
        const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
        if (header->AceSize < sizeof(ACCESS_ALLOWED_ACE))
            return false;
        if (!(ace->Mask & kChangingRights))
            return true;
        return IsTrusted(const_cast<DWORD*>(&ace->SidStart), administratorAccount);
    }
    default:
        return false;  // a kind of grant this test does not read
    }
}

}  // namespace

bool SecurityLetsOnlyAdministratorsChange(PSECURITY_DESCRIPTOR security, PSID administratorAccount)
{
    if (!security || !::IsValidSecurityDescriptor(security))
        return false;
    PSID owner = nullptr;
    BOOL ownerDefaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(security, &owner, &ownerDefaulted) || !IsTrusted(owner, administratorAccount))
        return false;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(security, &present, &dacl, &defaulted) || !present || !dacl)
        return false;  // no access list: everyone may do everything
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(dacl, i, &ace) || !EntryAllowsOnlyTrusted(static_cast<const ACE_HEADER*>(ace), administratorAccount))
            return false;
    }
    return true;
}

bool OnlyAdministratorsMayChangeFile(HANDLE object, PSID administratorAccount)
{
    PSECURITY_DESCRIPTOR security = nullptr;
    if (::GetSecurityInfo(object, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                          nullptr, nullptr, nullptr, &security) != ERROR_SUCCESS)
        return false;
    const bool trusted = SecurityLetsOnlyAdministratorsChange(security, administratorAccount);
    ::LocalFree(security);
    return trusted;
}

bool OnlyAdministratorsMayChangePath(const std::wstring& path, PSID administratorAccount)
{
    PSECURITY_DESCRIPTOR security = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, nullptr, nullptr, &security) != ERROR_SUCCESS)
        return false;
    const bool trusted = SecurityLetsOnlyAdministratorsChange(security, administratorAccount);
    ::LocalFree(security);
    return trusted;
}

std::vector<BYTE> CurrentUserSid()
{
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
        return {};
    const UniqueHandle token(raw);
    DWORD bytes = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &bytes);
    std::vector<BYTE> buffer(bytes);
    if (bytes == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), bytes, &bytes))
        return {};
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    if (!::IsValidSid(sid))
        return {};
    const BYTE* start = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(start, start + ::GetLengthSid(sid));
}

AdministratorsOnlySecurity::AdministratorsOnlySecurity(bool asOwner)
{
    // System and Administrators: everything; everyone: read and list. Protected from the parent's
    // entries (a shared data folder lets users add files), handed down to children.
    const wchar_t* sddl = asOwner ? L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;WD)"
                                  : L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;WD)";
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &m_descriptor, nullptr))
        m_descriptor = nullptr;
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = m_descriptor;
    m_attributes.bInheritHandle = FALSE;
}

AdministratorsOnlySecurity::~AdministratorsOnlySecurity()
{
    if (m_descriptor)
        ::LocalFree(m_descriptor);
}

}  // namespace win
