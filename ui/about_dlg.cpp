#include "ui/about_dlg.h"

#include "win/handles.h"
#include "res/resource.h"
#include "win/resource_module.h"
#include "win/window_messages.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {

const DWORD kPathCapacity = 260;
const int kIconSize = 32;  // at 96 DPI

// A string value of the neutral UTF-16 block of `info`; empty when it is missing or empty.
std::wstring QueryVersionString(const void* info, const wchar_t* name)
{
    wchar_t path[128];
    std::swprintf(path, sizeof(path) / sizeof(path[0]), L"%ls%08x\\%ls", L"\\StringFileInfo\\", 1200u, name);
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(info, path, &value, &length) || !value || length == 0)
        return std::wstring();
    // `length` counts characters and may include the terminator; stop at the first null.
    const wchar_t* text = static_cast<const wchar_t*>(value);
    size_t count = 0;
    while (count < length && text[count] != L'\0')
        ++count;
    return std::wstring(text, count);
}

// "%s Version %s" with the title first and the version second; any other text is shown as is.
std::wstring FormatVersionLine(const std::wstring& format, const std::wstring& title, const std::wstring& version)
{
    std::wstring line;
    const std::wstring* arguments[2] = {&title, &version};
    size_t used = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L's' && used < 2) {
                line += *arguments[used++];
                ++i;
                continue;
            }
            if (format[i + 1] == L'%') {
                line += L'%';
                ++i;
                continue;
            }
        }
        line += format[i];
    }
    return line;
}

}  // namespace

CAboutDlg::CAboutDlg(HWND parent) : sable::SableDialog(IDD_ABOUTBOX, parent) {}

void CAboutDlg::DoDataExchange()
{
    DDX_Control(IDOK, m_btnOK);
}

BOOL CAboutDlg::OnInitDialog()
{
    sable::SableDialog::OnInitDialog();

    // The template comes from the resource library, which has no icon 135: give the static the
    // program's own icon, at the size of a large icon at the box's DPI.
    if (HWND iconStatic = ::GetDlgItem(m_hWnd, -1)) {
        const int size = Scale().ImageSize(kIconSize);
        m_icon.reset(static_cast<HICON>(
            ::LoadImageW(GetProgramModule(), MAKEINTRESOURCEW(IDI_BRINDLE), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        if (m_icon)
            win::SetStaticIcon(iconStatic, m_icon.get());
    }

    wchar_t path[kPathCapacity] = {};
    DWORD pathLength = ::GetModuleFileNameW(nullptr, path, kPathCapacity);
    if (pathLength == 0 || pathLength >= kPathCapacity)
        return TRUE;  // no path (or a cut one): the template's texts stay
    DWORD unused = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path, &unused);
    if (size == 0)
        return TRUE;
    win::UniqueHeapBlock buffer(::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    if (!buffer || !::GetFileVersionInfoW(path, 0, size, buffer.get()))
        return TRUE;

    const std::wstring version = QueryVersionString(buffer.get(), L"ProductVersion");
    const std::wstring legal = QueryVersionString(buffer.get(), L"LegalCopyright");
    SetDlgItemText(IDC_ABOUT_VERSION,
                   FormatVersionLine(LoadResString(IDS_VERSION_FORMAT), LoadResString(IDS_APP_TITLE), version));
    SetDlgItemText(IDC_ABOUT_LEGAL, legal);
    CenterWindow();
    return TRUE;
}
