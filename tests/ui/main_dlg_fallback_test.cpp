// The main dialog and the About box when resources are missing: a resource library without the
// About string, a program file without icon 135 and without the neutral version strings.
#include "ui/about_dlg.h"
#include "ui/main_dlg.h"
#include "tests/ui/modal_script.h"
#include "tests/support/registry_sandbox.h"
#include "res/resource.h"
#include "app/resource_library.h"
#include "win/resource_module.h"
#include "sable/sable_api.h"
#include "tests/support/test_process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Fallback : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(LoadResourceLibraryFrom(TestBinDirectory() + L"ui_fallback_library.dll"));
        sable::SableAPI::EnableLuna(true);
    }
    void SetUp() override { ASSERT_TRUE(m_sandbox.ok()); }

    RegistrySandbox m_sandbox;
};

TEST_F(Fallback, WithoutTheAboutStringTheSystemMenuGetsNeitherSeparatorNorItem)
{
    CMainDlg dialog(nullptr);
    HWND hwnd = nullptr;
    dialog.SetWindowCallback([&](HWND h) { hwnd = h ? h : hwnd; });
    int items = -1;
    bool hasAbout = true, endsWithSeparator = true;
    HICON bigIcon = reinterpret_cast<HICON>(1);
    ModalScript script({[&] {
        HMENU menu = GetSystemMenu(hwnd, FALSE);
        items = GetMenuItemCount(menu);
        hasAbout = GetMenuState(menu, 0x10, MF_BYCOMMAND) != static_cast<UINT>(-1);
        endsWithSeparator = (GetMenuState(menu, items - 1, MF_BYPOSITION) & MF_SEPARATOR) != 0;
        bigIcon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0));
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.AllStepsRan());
    EXPECT_GT(items, 0);
    EXPECT_FALSE(hasAbout);
    EXPECT_FALSE(endsWithSeparator);
    EXPECT_EQ(bigIcon, nullptr) << "no icon 135 in this program: the handles stay empty";
}

// Reads its two lines right after initialisation and closes itself.
class InspectedAbout : public CAboutDlg {
public:
    InspectedAbout() : CAboutDlg(nullptr) {}
    std::wstring version, legal;

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = CAboutDlg::OnInitDialog();
        version = GetDlgItemText(IDC_ABOUT_VERSION);
        legal = GetDlgItemText(IDC_ABOUT_LEGAL);
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return result;
    }
};

TEST_F(Fallback, WithoutTheNeutralVersionTableBothValuesAreEmpty)
{
    InspectedAbout about;
    EXPECT_EQ(about.DoModal(), IDCANCEL);
    // The format's stray placeholders are shown as written, never used to read arguments.
    EXPECT_EQ(about.version, L"Brindle %d Version %n");
    EXPECT_EQ(about.legal, L"");
}

}  // namespace
