#include "app/shared_security.h"

bool BuildSharedSecurityDescriptor(SECURITY_DESCRIPTOR* descriptor, bool allowChanges)
{
    if (!descriptor)
        return false;
    ZeroMemory(descriptor, sizeof(*descriptor));

    SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return false;

    // Room for the list header and two entries, each naming the SID once.
    const DWORD aclSize = 2 * GetLengthSid(everyone) + 32;
    auto* acl = static_cast<PACL>(LocalAlloc(LPTR, aclSize));
    bool ok = acl && InitializeAcl(acl, aclSize, ACL_REVISION);
    if (ok && !allowChanges)
        ok = AddAccessDeniedAce(acl, ACL_REVISION, WRITE_DAC | WRITE_OWNER, everyone);
    ok = ok && AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, everyone);
    ok = ok && InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION);
    ok = ok && SetSecurityDescriptorDacl(descriptor, TRUE, acl, FALSE);
    FreeSid(everyone);

    if (!ok) {
        if (acl)
            LocalFree(acl);
        ZeroMemory(descriptor, sizeof(*descriptor));
    }
    return ok;
}

void FreeSharedSecurityDescriptor(SECURITY_DESCRIPTOR* descriptor)
{
    if (!descriptor || descriptor->Revision != SECURITY_DESCRIPTOR_REVISION)
        return;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    if (GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted) && present && !defaulted && acl) {
        LocalFree(acl);
        SetSecurityDescriptorDacl(descriptor, FALSE, nullptr, FALSE);
    }
}

SharedSecurityAttributes::SharedSecurityAttributes(bool allowChanges)
{
    m_built = BuildSharedSecurityDescriptor(&m_descriptor, allowChanges);
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = &m_descriptor;
    m_attributes.bInheritHandle = FALSE;
}

SharedSecurityAttributes::~SharedSecurityAttributes()
{
    if (m_built)
        FreeSharedSecurityDescriptor(&m_descriptor);
}
