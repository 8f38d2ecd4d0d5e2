// Files and folders that only the administrators may change: made with such security, and
// tested for it before their contents are believed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace win {

// True when nobody but the system, the Administrators group and `administratorAccount` (an
// account known to be an administrator; null for none) may change the object: its owner is one
// of them, it has an access list, and every entry of that list that allows writing, deleting,
// adding to a folder or changing the security is for one of them. Entries that deny, and
// entries only for what a folder's new children inherit, change nothing; any other kind of
// entry makes the object untrusted.
bool SecurityLetsOnlyAdministratorsChange(PSECURITY_DESCRIPTOR security, PSID administratorAccount);

// The same test for an open file or folder (opened with READ_CONTROL) and for one by path.
bool OnlyAdministratorsMayChangeFile(HANDLE object, PSID administratorAccount);
bool OnlyAdministratorsMayChangePath(const std::wstring& path, PSID administratorAccount);

// The user account of the current process token; empty when it cannot be read.
std::vector<BYTE> CurrentUserSid();

// Security for new files and folders: owned by the Administrators group (when `asOwner`), full
// control for the system and the Administrators group, reading for everyone; not inherited from
// the parent, and inherited by a folder's children.
class AdministratorsOnlySecurity {
public:
    explicit AdministratorsOnlySecurity(bool asOwner = true);
    ~AdministratorsOnlySecurity();
    AdministratorsOnlySecurity(const AdministratorsOnlySecurity&) = delete;
    AdministratorsOnlySecurity& operator=(const AdministratorsOnlySecurity&) = delete;

    // Null when the descriptor could not be made.
    SECURITY_ATTRIBUTES* get() { return m_descriptor ? &m_attributes : nullptr; }

private:
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
    SECURITY_ATTRIBUTES m_attributes{};
};

}  // namespace win
