#include "ui/main_dlg.h"

#include "res/resource.h"
#include "ui/about_dlg.h"
#include "ui/page_ids.h"
#include "ui/window_state.h"
#include "win/dpi.h"
#include "win/monitors.h"
#include "win/resource_module.h"
#include "win/window_messages.h"

#include <climits>

namespace {

const UINT kAboutCommand = 0x0010;
// The outer size at 96 DPI: the width is fixed, the height a minimum. At another DPI the client
// area these leave grows with the DPI.
const SIZE kSizeAt96{640, 300};
const int kSmallIcon = 16;
const int kLargeIcon = 32;

HICON LoadProgramIcon(int size)
{
    return static_cast<HICON>(::LoadImageW(GetProgramModule(), MAKEINTRESOURCEW(IDI_BRINDLE), IMAGE_ICON, size, size,
                                           LR_DEFAULTCOLOR));
}

}  // namespace

CMainDlg::CMainDlg(HWND parent) : sable::SableDialog2(IDD_MAIN, parent)
{
    SetPainter(&m_painter);
    LoadIcons(win::SystemDpi());
}

void CMainDlg::LoadIcons(int dpi)
{
    const win::DpiScale scale(dpi);
    m_hSmallIcon.reset(LoadProgramIcon(scale.ImageSize(kSmallIcon)));
    m_hLargeIcon.reset(LoadProgramIcon(scale.ImageSize(kLargeIcon)));
}

int CMainDlg::Dpi() const
{
    return m_nDpi > 0 ? m_nDpi : win::DpiOfWindow(m_hWnd);
}

CMainDlg::~CMainDlg()
{
    SetPainter(nullptr);  // the painter member goes first
}

BOOL CMainDlg::OnInitDialog()
{
    if (m_windowCallback)
        m_windowCallback(m_hWnd);
    sable::SableDialog2::OnInitDialog();
    // The page follows DPI changes itself; the dialog manager must not rescale it as well.
    win::TakeOverDialogDpiScaling(m_hWnd);
    m_nDpi = win::DpiOfWindow(m_hWnd);
    const int fontDpi = m_nDpi;  // the dialog manager made the font for the window as created
    if (m_nDpi != win::SystemDpi())
        LoadIcons(m_nDpi);

    if (HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        std::wstring about = LoadResString(IDS_ABOUTBOX);
        if (!about.empty()) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, kAboutCommand, about.c_str());
        }
    }

    win::SetWindowIcon(m_hWnd, win::IconSize::Big, m_hLargeIcon.get());
    win::SetWindowIcon(m_hWnd, win::IconSize::Small, m_hSmallIcon.get());

    // Through the size limits first (the template is smaller than they are), then centred.
    MoveWindow(GetWindowRect(), true);
    CenterWindow();

    // Saved from the window placement, so in workspace coordinates; back onto a monitor, with the
    // caption within reach, whatever the stored values.
    int left = 0, top = 0, right = 0, bottom = 0;
    if (LoadWindowRect(left, top, right, bottom)) {
        const SIZE least = win::ScaledOuterSize(m_hWnd, kSizeAt96, Dpi());
        MoveWindow(win::RestoredWindowRect(RECT{left, top, right, bottom}, least, SIZE{least.cx, LONG_MAX}), true);
    }

    RECT client = GetClientRect();
    m_tabCtrl.SetDialogDpi(Dpi(), fontDpi);  // a move above may have reached another DPI
    m_tabCtrl.CreatePage(client, this);

    PostMessage(page::kFocusViewMessage, 0, 0);  // taken up by PreTranslateMessage once the loop runs
    return TRUE;
}

bool CMainDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == page::kFocusViewMessage && msg->hwnd == m_hWnd) {
        m_tabCtrl.SetFocusToCurrentView();
        return true;
    }
    return sable::SableDialog2::PreTranslateMessage(msg);
}

bool CMainDlg::OnSysCommand(UINT command)
{
    if (command != kAboutCommand)
        return false;
    CAboutDlg about(nullptr);
    about.DoModal();
    return true;
}

void CMainDlg::OnNcHitTest(POINT, LRESULT& hit)
{
    switch (hit) {
    case HTLEFT:
    case HTRIGHT:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        hit = HTBORDER;  // only the top and bottom edges size the window
        break;
    default:
        break;
    }
}

void CMainDlg::OnGetMinMaxInfo(MINMAXINFO* info)
{
    const SIZE size = win::ScaledOuterSize(m_hWnd, kSizeAt96, Dpi());
    info->ptMinTrackSize.x = size.cx;
    info->ptMinTrackSize.y = size.cy;
    info->ptMaxTrackSize.x = size.cx;
}

bool CMainDlg::OnDpiChanged(int dpi, const RECT& suggested)
{
    m_nDpi = dpi;
    SetDpi(dpi);
    // The window holds the old icons until it has the new ones.
    const win::UniqueIcon oldSmall(m_hSmallIcon.release());
    const win::UniqueIcon oldLarge(m_hLargeIcon.release());
    LoadIcons(dpi);
    win::SetWindowIcon(m_hWnd, win::IconSize::Big, m_hLargeIcon.get());
    win::SetWindowIcon(m_hWnd, win::IconSize::Small, m_hSmallIcon.get());
    // Through the size limits of the new DPI, then the page at the client area that results.
    MoveWindow(suggested, true);
    m_tabCtrl.ChangeDpi(dpi, GetClientRect());
    return true;
}

void CMainDlg::OnSize(UINT type, int, int)
{
    if (type == SIZE_RESTORED)
        m_tabCtrl.RecalcLayout(GetClientRect());
}

bool CMainDlg::OnPaint()
{
    if (!IsIconic())
        return false;
    win::PaintDC dc(m_hWnd);
    win::EraseIconBackground(m_hWnd, dc.get());
    RECT client = GetClientRect();
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.get(), x, y, m_hSmallIcon.get());
    return true;
}

void CMainDlg::OnDestroy()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (::GetWindowPlacement(m_hWnd, &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        SaveWindowRect(normal.left, normal.top, normal.right, normal.bottom);
    }
    if (m_windowCallback)
        m_windowCallback(nullptr);
}
