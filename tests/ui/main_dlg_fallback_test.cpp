// The main dialog and the About box when resources are missing: a resource library without the
// About string, a program file without icon 135 and without the neutral version strings.
#include "res/resource.h"
#include "tests/support/test_process.h"
#include "tests/ui/main_dialog_fixture.h"
#include "ui/about_dlg.h"
#include "ui/main_dlg.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Fallback : public MainDialogFixture {
protected:
    static void SetUpTestSuite() { UseLibrary(TestBinDirectory() + L"ui_fallback_library.dll"); }
};

TEST_F(Fallback, WithoutTheAboutStringTheSystemMenuGetsNeitherSeparatorNorItem)
{
    int items = -1;
    bool hasAbout = true, endsWithSeparator = true;
    HICON bigIcon = reinterpret_cast<HICON>(1);
    EXPECT_EQ(RunMainDialog({[&] {
        HMENU menu = GetSystemMenu(m_hwnd, FALSE);
        items = GetMenuItemCount(menu);
        hasAbout = GetMenuState(menu, 0x10, MF_BYCOMMAND) != static_cast<UINT>(-1);
        endsWithSeparator = (GetMenuState(menu, items - 1, MF_BYPOSITION) & MF_SEPARATOR) != 0;
        bigIcon = reinterpret_cast<HICON>(SendMessageW(m_hwnd, WM_GETICON, ICON_BIG, 0));
        PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    }}), IDCANCEL);
    EXPECT_TRUE(m_allStepsRan);
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
