// A private stand-in for HKEY_LOCAL_MACHINE: for the object's life this process's
// HKEY_LOCAL_MACHINE is a fresh key under HKEY_CURRENT_USER, deleted afterwards. Registration
// files load into it, so the machine's own catalogue is never read or written.
#pragma once
#include "tools/reg_file.h"
#include "win/handles.h"

#include <windows.h>

#include <string>

class ScratchMachineKey {
public:
    ScratchMachineKey();
    ~ScratchMachineKey();
    ScratchMachineKey(const ScratchMachineKey&) = delete;
    ScratchMachineKey& operator=(const ScratchMachineKey&) = delete;

    // False when the stand-in could not be made or proven in place: load nothing then.
    bool ok() const { return m_bOk; }

private:
    std::wstring m_strPath;  // under the real HKEY_CURRENT_USER
    win::UniqueKey m_hKey;
    bool m_bOk = false;
};

// Loads one parsed file into HKEY_LOCAL_MACHINE (the stand-in while a ScratchMachineKey lives).
// Keys under SOFTWARE\WOW6432Node go where a 32-bit program reads them, under SOFTWARE. Keys
// under other roots are not loaded; `skipped` is told each one's line. False on a registry error.
bool LoadIntoMachineKey(const std::vector<RegFileKey>& keys, std::vector<int>& skipped);
