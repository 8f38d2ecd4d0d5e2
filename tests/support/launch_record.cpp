#include "tests/support/launch_record.h"

#include <fstream>
#include <sstream>

namespace {

const wchar_t kRecordVariable[] = L"BRINDLE_RECORD_FILE";

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring KeptName(const std::wstring& place)
{
    return place + L".brindle-kept";
}

// A program that has just ended may hold its file a moment longer.
bool DeleteSoon(const std::wstring& path)
{
    for (int i = 0; i < 100; ++i) {
        if (DeleteFileW(path.c_str()) || !Exists(path))
            return true;
        Sleep(20);
    }
    return false;
}

void PutKeptBack(const std::wstring& place)
{
    const std::wstring kept = KeptName(place);
    if (Exists(kept) && DeleteSoon(place))
        MoveFileW(kept.c_str(), place.c_str());
}

}  // namespace

LaunchRecord::LaunchRecord() : m_path(m_folder.path() + L"launches.txt")
{
    SetEnvironmentVariableW(kRecordVariable, m_path.c_str());
}

LaunchRecord::~LaunchRecord()
{
    SetEnvironmentVariableW(kRecordVariable, nullptr);
    DeleteSoon(m_path);
}

std::wstring LaunchRecord::Program()
{
    return TestBinDirectory() + L"record_args.exe";
}

std::vector<LaunchRecordLine> LaunchRecord::Read() const
{
    std::vector<LaunchRecordLine> records;
    std::ifstream in(m_path.c_str(), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::wstring line = FromUtf8(text.substr(start, end - start));
        const size_t tab = line.rfind(L'\t');
        if (tab != std::wstring::npos)
            records.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return records;
}

std::vector<LaunchRecordLine> LaunchRecord::WaitFor(size_t count, DWORD ms) const
{
    const DWORD start = GetTickCount();
    std::vector<LaunchRecordLine> records = Read();
    while (records.size() < count && GetTickCount() - start < ms) {
        Sleep(20);
        records = Read();
    }
    return records;
}

void LaunchRecord::Clear() const
{
    DeleteSoon(m_path);
}

HelpViewerStandIn::HelpViewerStandIn()
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring root(windows);
    // Only where a viewer stands: Wine would run its own for a new file in system32.
    for (const std::wstring& place : {root + L"\\system32\\hh.exe", root + L"\\hh.exe"}) {
        if (Exists(place) || Exists(KeptName(place)))
            m_places.push_back(place);
    }
    m_ok = !m_places.empty();
    const std::wstring program = LaunchRecord::Program();
    for (const std::wstring& place : m_places) {
        PutKeptBack(place);
        const bool placed = !(Exists(place) && !MoveFileW(place.c_str(), KeptName(place).c_str())) &&
                            CopyFileW(program.c_str(), place.c_str(), TRUE);
        m_placed.push_back(placed);
        m_ok = m_ok && placed;
    }
}

HelpViewerStandIn::~HelpViewerStandIn()
{
    for (size_t i = 0; i < m_places.size(); ++i) {
        if (!m_placed[i])
            continue;
        if (Exists(KeptName(m_places[i])))
            PutKeptBack(m_places[i]);
        else
            DeleteSoon(m_places[i]);
    }
}
