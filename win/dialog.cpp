#include "win/dialog.h"

#include "win/resource_module.h"

namespace win {

namespace {

Dialog* g_creating = nullptr;     // the object whose template is being created (UI thread only)
Dialog* g_innermostModal = nullptr;  // the modal run that is pumping messages now

}  // namespace

Dialog::Dialog(UINT templateId, HWND parent) noexcept : m_templateId(templateId), m_hWndParent(parent) {}

Dialog::~Dialog() = default;

INT_PTR CALLBACK Dialog::StaticDlgProc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    // The first message a dialog procedure sees (WM_SETFONT or WM_INITDIALOG) attaches the object
    // under construction; from then on its messages arrive through the object's WindowProc.
    if (g_creating && !FromHandle(hwnd)) {
        Dialog* self = g_creating;
        g_creating = nullptr;
        self->SubclassWindow(hwnd);
    }
    if (msg == WM_INITDIALOG) {
        if (Dialog* self = static_cast<Dialog*>(FromHandle(hwnd)))
            return self->OnInitDialog();
        return TRUE;
    }
    return FALSE;
}

BOOL Dialog::OnInitDialog()
{
    DoDataExchange();
    return TRUE;
}

void Dialog::DDX_Control(int id, Window& control)
{
    if (!control.GetSafeHwnd())
        control.SubclassDlgItem(id, m_hWnd);
}

bool Dialog::OnCommand(UINT id, UINT code, HWND)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

void Dialog::EndDialog(INT_PTR result)
{
    // Every run nested inside this one ends too, or the loops below it would keep this run
    // (and whoever waits for it, such as a shutdown) waiting for the user.
    bool nestedInThis = false;
    for (Dialog* run = g_innermostModal; run; run = run->m_pOuterModal)
        nestedInThis = nestedInThis || run == this;
    if (nestedInThis) {
        for (Dialog* inner = g_innermostModal; inner != this; inner = inner->m_pOuterModal) {
            if (!inner->m_bEndRequested)
                inner->RequestEnd(IDCANCEL);
        }
    }
    RequestEnd(result);
}

void Dialog::RequestEnd(INT_PTR result)
{
    m_nResult = result;
    m_bEndRequested = true;
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the loop if it is waiting
}

bool Dialog::PreTranslateChain(MSG* msg)
{
    HWND dialog = m_hWnd;
    HWND focus = ::GetFocus();
    if (!focus || (focus != dialog && !::IsChild(dialog, focus)))
        return PreTranslateMessage(msg);
    for (HWND h = focus; h; h = ::GetParent(h)) {
        Window* object = FromHandle(h);
        if (object && object->PreTranslateMessage(msg))
            return true;
        if (h == dialog)
            break;
    }
    return false;
}

INT_PTR Dialog::DoModal()
{
    if (m_hWnd || m_bRunning)
        return -1;
    // A run asked for inside a run that is ending would outlive it: it ends before it starts.
    if (g_innermostModal && g_innermostModal->m_bEndRequested)
        return IDCANCEL;

    HWND owner = m_hWndParent ? ::GetAncestor(m_hWndParent, GA_ROOT)
                              : (g_innermostModal ? g_innermostModal->m_hWnd : nullptr);
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);

    m_bEndRequested = false;
    m_nResult = -1;
    m_bRunning = true;
    m_pOuterModal = g_innermostModal;
    g_innermostModal = this;

    // A template from a module is checked to lie inside its file before the system reads it.
    const DLGTEMPLATE* dialogTemplate = m_pTemplate ? m_pTemplate : FindDialogTemplate(m_templateId);
    g_creating = this;
    HWND hwnd = dialogTemplate ? ::CreateDialogIndirectParamW(GetResourceModule(), dialogTemplate, owner,
                                                              &Dialog::StaticDlgProc, 0)
                               : nullptr;
    g_creating = nullptr;

    if (hwnd && m_hWnd == hwnd) {
        if (!m_bEndRequested && !::IsWindowVisible(hwnd))
            ::ShowWindow(hwnd, SW_SHOWNORMAL);
        MSG msg;
        while (!m_bEndRequested && m_hWnd) {
            BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
            if (got == -1)
                break;
            if (got == 0) {  // WM_QUIT: end this run and leave the request for the outer loop
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                if (!m_bEndRequested)
                    m_nResult = IDCANCEL;
                break;
            }
            if (PreTranslateChain(&msg))
                continue;
            if (m_hWnd && ::IsDialogMessageW(m_hWnd, &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    } else if (hwnd) {
        ::DestroyWindow(hwnd);  // created but never attached: not ours to run
    }

    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        if (owner && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(owner);  // hand activation back before the window goes
        ::DestroyWindow(m_hWnd);
    }
    g_innermostModal = m_pOuterModal;
    m_pOuterModal = nullptr;
    m_bRunning = false;
    return m_nResult;
}

}  // namespace win
