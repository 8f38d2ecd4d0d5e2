#include "tests/ui/main_dialog_fixture.h"

#include "app/resource_library.h"
#include "sable/sable_api.h"
#include "ui/main_dlg.h"
#include "ui/page_ids.h"

void MainDialogFixture::UseLibrary(const std::wstring& path)
{
    ASSERT_TRUE(path.empty() ? LoadResourceLibrary() : LoadResourceLibraryFrom(path));
    sable::SableAPI::EnableLuna(true);
}

INT_PTR MainDialogFixture::RunMainDialog(std::vector<ModalScript::Step> steps, const StartRequest& start,
                                         UINT timeoutMs)
{
    CMainDlg dialog(nullptr);
    dialog.SetStartRequest(start);
    dialog.SetWindowCallback([this](HWND hwnd) {
        if (hwnd)
            m_hwnd = hwnd;
        else
            m_windowGoneReported = true;
    });
    m_mainDlg = &dialog;
    ModalScript script(std::move(steps), timeoutMs);
    const INT_PTR result = dialog.DoModal();
    m_allStepsRan = script.AllStepsRan();
    m_timedOut = script.TimedOut();
    m_mainDlg = nullptr;
    return result;
}

void MainDialogFixture::RunPage(std::vector<ModalScript::Step> steps, const StartRequest& start, UINT timeoutMs)
{
    steps.insert(steps.begin(), [this] {
        m_tab = GetDlgItem(m_hwnd, page::kTabCtrlId);
        m_tree = GetDlgItem(m_tab, page::kTreeViewId);
        m_all = GetDlgItem(m_tab, page::kAllListId);
        m_recent = GetDlgItem(m_tab, page::kRecentListId);
        m_open = GetDlgItem(m_tab, page::kOpenButtonId);
        m_help = GetDlgItem(m_tab, page::kHelpButtonId);
        m_pane = FindWindowExW(m_tab, nullptr, L"Edit", nullptr);
        OnPageFound();
    });
    steps.push_back([this] { PostMessageW(m_hwnd, WM_CLOSE, 0, 0); });
    RunMainDialog(std::move(steps), start, timeoutMs);
    EXPECT_TRUE(m_allStepsRan);
}
