// What the recording program (record_args.exe, beside the tests) writes when something starts
// it: one record per start, read back here. Also puts it in the help viewer's place.
#pragma once
#include "tests/support/test_process.h"

#include <windows.h>

#include <string>
#include <vector>

struct LaunchRecordLine {
    std::wstring commandLine;
    std::wstring directory;  // the started program's current directory
};

// A fresh record file, named to the recording program through this process's environment,
// which the programs it starts inherit. The name is taken back by the destructor.
class LaunchRecord {
public:
    LaunchRecord();
    ~LaunchRecord();
    LaunchRecord(const LaunchRecord&) = delete;
    LaunchRecord& operator=(const LaunchRecord&) = delete;

    // The complete records so far.
    std::vector<LaunchRecordLine> Read() const;
    // Waits up to `ms` for at least `count` records and returns all there are.
    std::vector<LaunchRecordLine> WaitFor(size_t count, DWORD ms = 10000) const;
    // Forgets the records so far.
    void Clear() const;

    const std::wstring& path() const { return m_path; }
    // The recording program itself.
    static std::wstring Program();

private:
    TempDirectory m_folder;
    std::wstring m_path;
};

// Puts the recording program where the shell looks for "hh.exe" first (the system folders of
// the prefix) for the life of the object, keeping the prefix's own viewer beside it and putting
// it back afterwards; a viewer kept by a run that died on the way is put back first.
class HelpViewerStandIn {
public:
    HelpViewerStandIn();
    ~HelpViewerStandIn();
    HelpViewerStandIn(const HelpViewerStandIn&) = delete;
    HelpViewerStandIn& operator=(const HelpViewerStandIn&) = delete;

    bool ok() const { return m_ok; }

private:
    std::vector<std::wstring> m_places;
    std::vector<bool> m_placed;  // the stand-in is in that place and goes again
    bool m_ok = true;
};
