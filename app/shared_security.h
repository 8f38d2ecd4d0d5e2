// Security for objects that processes of every user and session share: everyone may
// use them, nobody may change their access list or owner.
#pragma once
#include <windows.h>

// Fills `descriptor` with an access list for Everyone: deny WRITE_DAC|WRITE_OWNER (left out
// when `allowChanges`), then allow GENERIC_ALL. The list is allocated here; release it with
// FreeSharedSecurityDescriptor. False when it could not be built: nothing is then allocated
// and the descriptor must not be used (create objects with default security instead).
bool BuildSharedSecurityDescriptor(SECURITY_DESCRIPTOR* descriptor, bool allowChanges);

// Frees the access list of a descriptor filled by BuildSharedSecurityDescriptor (when it
// carries one that is present and not defaulted). Safe on a zero-filled descriptor.
void FreeSharedSecurityDescriptor(SECURITY_DESCRIPTOR* descriptor);

// Owns a shared descriptor for one scope; attributes() is null when building failed.
class SharedSecurityAttributes {
public:
    explicit SharedSecurityAttributes(bool allowChanges = false);
    ~SharedSecurityAttributes();
    SharedSecurityAttributes(const SharedSecurityAttributes&) = delete;
    SharedSecurityAttributes& operator=(const SharedSecurityAttributes&) = delete;

    // Not inheritable by child processes.
    SECURITY_ATTRIBUTES* attributes() { return m_built ? &m_attributes : nullptr; }

private:
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
    bool m_built = false;
};
