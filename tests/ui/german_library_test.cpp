// The German resource library in force: the dialogs show its texts, the program's own texts stay
// where the library is not used, and every translated text fits the control that shows it.
#include "res/resource.h"
#include "tests/support/test_process.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/modal_script.h"
#include "ui/main_dlg.h"
#include "ui/page_ids.h"
#include "win/handles.h"
#include "win/resource_module.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const int kTabItemWidth = 100;  // every tab item, whatever its caption
const int kTextMargin = 5;      // free on each side of a caption: clear of frame and focus rectangle

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

std::wstring TabText(HWND tab, int index)
{
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

int ClientWidth(HWND window)
{
    RECT rc{};
    GetClientRect(window, &rc);
    return rc.right;
}

// Width in pixels of `text` drawn in `font`, with the mnemonic ampersands removed.
int TextWidth(HFONT font, std::wstring text)
{
    for (size_t i = text.find(L'&'); i != std::wstring::npos; i = text.find(L'&', i + 1))
        text.erase(i, 1);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

class GermanLibrary : public MainDialogFixture {
protected:
    static void SetUpTestSuite() { UseLibrary(TestBinDirectory() + L"de\\QclRes.dll"); }

    // Runs the main dialog with `steps`; its window is in `m_hwnd` meanwhile.
    void Run(std::vector<ModalScript::Step> steps)
    {
        RunMainDialog(std::move(steps));
        EXPECT_TRUE(m_allStepsRan);
        EXPECT_FALSE(m_timedOut);
    }
};

}  // namespace

TEST_F(GermanLibrary, DialogsShowTheGermanTextsAndTheProgramsTitle)
{
    std::wstring caption, aboutItem, aboutCaption, versionLine, legal;
    std::vector<std::wstring> tabs, buttons;
    std::wstring searchName, noMatch;
    Run({
        [&] {
            // The search box is named by its cue; a search that finds nothing says so in German.
            HWND tab = GetDlgItem(m_hwnd, page::kTabCtrlId);
            HWND box = GetDlgItem(tab, page::kSearchBoxId);
            if (win::AccessibleParts* parts = win::Window::FromHandle(box)->GetAccessibleParts())
                parts->Name(0, searchName);
            SetWindowTextW(box, L"Drucker");
            wchar_t note[128] = {};
            GetWindowTextW(FindWindowExW(tab, nullptr, L"Static", nullptr), note, 128);
            noMatch = note;
            SetWindowTextW(box, L"");
        },
        [&] {
            wchar_t text[64] = {};
            GetWindowTextW(m_hwnd, text, 64);
            caption = text;
            HMENU menu = GetSystemMenu(m_hwnd, FALSE);
            GetMenuStringW(menu, 0x10, text, 64, MF_BYCOMMAND);
            aboutItem = text;
            HWND tab = GetDlgItem(m_hwnd, page::kTabCtrlId);
            for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i)
                tabs.push_back(TabText(tab, i));
            for (UINT id : {page::kOpenButtonId, page::kHelpButtonId})
                buttons.push_back(ItemText(tab, id));
            PostMessageW(m_hwnd, WM_SYSCOMMAND, 0x10, 0);
        },
        [&] {
            HWND about = FindThreadDialog(L"Info über Brindle");
            ASSERT_NE(about, nullptr);
            wchar_t text[64] = {};
            GetWindowTextW(about, text, 64);
            aboutCaption = text;
            versionLine = ItemText(about, IDC_ABOUT_VERSION);
            legal = ItemText(about, IDC_ABOUT_LEGAL);
            PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
        },
        [&] { PostMessageW(m_hwnd, WM_CLOSE, 0, 0); },
    });
    EXPECT_EQ(caption, L"Brindle");  // a second start finds the window by this title
    EXPECT_EQ(aboutItem, L"&Info über Brindle");
    EXPECT_EQ(tabs, (std::vector<std::wstring>{L"Kategorien", L"Liste", L"Zuletzt benutzt"}));
    EXPECT_EQ(buttons, (std::vector<std::wstring>{L"Ö&ffnen", L"&Hilfe"}));
    EXPECT_EQ(searchName, L"Suchen");
    EXPECT_EQ(noMatch, L"Keine Einstellung passt zu 'Drucker'.");
    EXPECT_EQ(aboutCaption, L"Info über Brindle");
    EXPECT_EQ(versionLine, std::wstring(L"Brindle, Version ") + BRINDLE_TEST_PRODUCT_VERSION);
    EXPECT_EQ(legal, L"Copyright (C) 2026 Marbeck");  // the program file's own notice

    // The messages of a failed start or help come from the library too.
    EXPECT_EQ(LoadResString(IDS_ERR_PROGRAM_NOT_FOUND), L"Das Programm wurde nicht gefunden.");
    EXPECT_EQ(LoadResString(IDS_ERR_HELP_NOT_FOUND), L"Die Hilfedatei wurde nicht gefunden.");
    EXPECT_EQ(LoadResString(IDS_LINE_SPACING), L"2");
    // What the program shows before the library is in force stays its own English.
    EXPECT_EQ(LoadModuleString(GetProgramModule(), IDS_APP_TITLE), L"Brindle");
    EXPECT_EQ(LoadModuleString(GetProgramModule(), IDS_ERR_SYSTEM),
              L"System error has occurred. Please make sure Brindle is correctly installed.");
}

// Each caption of either library against the control that shows it: a tab item (100 pixels
// wide), a button of the page, or the About box's version line.
TEST_F(GermanLibrary, EveryCaptionFitsItsControlInBothLanguages)
{
    struct Caption {
        const wchar_t* library;
        UINT id;
        int room = 0;  // pixels
        std::wstring text;
        int width = 0;
    };
    std::vector<Caption> captions;
    for (const wchar_t* library : {L"QclRes.dll", L"de\\QclRes.dll"}) {
        for (UINT id : {IDS_TAB_CATEGORIES, IDS_TAB_LIST, IDS_TAB_RECENT, IDS_OPEN, IDS_HELP})
            captions.push_back({library, id, 0, L"", 0});
    }
    int overlongWidth = 0, tabRoom = 0;
    std::wstring versionLine;
    int versionWidth = 0, versionRoom = 0, legalWidth = 0, legalRoom = 0;

    Run({
        [&] {
            HWND tab = GetDlgItem(m_hwnd, page::kTabCtrlId);
            ASSERT_EQ(TabCtrl_GetItemCount(tab), 3);
            const HFONT font = reinterpret_cast<HFONT>(SendMessageW(tab, WM_GETFONT, 0, 0));
            for (Caption& c : captions) {
                c.text = LoadLibraryString(TestBinDirectory() + c.library, c.id);
                c.width = TextWidth(font, c.text);
                // The skin draws a tab's caption one pixel short of the item's right edge.
                if (c.id == IDS_OPEN || c.id == IDS_HELP)
                    c.room = ClientWidth(GetDlgItem(tab, c.id == IDS_OPEN ? page::kOpenButtonId : page::kHelpButtonId));
                else
                    c.room = kTabItemWidth - 1;
                c.room -= 2 * kTextMargin;
            }
            tabRoom = kTabItemWidth - 1 - 2 * kTextMargin;
            // The measurement can see a caption that does not fit.
            overlongWidth = TextWidth(font, L"Zuletzt verwendete Einstellungen");
            PostMessageW(m_hwnd, WM_SYSCOMMAND, 0x10, 0);
        },
        [&] {
            HWND about = FindThreadDialog(L"Info über Brindle");
            ASSERT_NE(about, nullptr);
            HWND line = GetDlgItem(about, IDC_ABOUT_VERSION);
            const HFONT font = reinterpret_cast<HFONT>(SendMessageW(line, WM_GETFONT, 0, 0));
            versionLine = ItemText(about, IDC_ABOUT_VERSION);
            versionWidth = TextWidth(font, versionLine);
            versionRoom = ClientWidth(line);
            legalWidth = TextWidth(font, ItemText(about, IDC_ABOUT_LEGAL));
            legalRoom = ClientWidth(GetDlgItem(about, IDC_ABOUT_LEGAL));
            PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
        },
        [&] { PostMessageW(m_hwnd, WM_CLOSE, 0, 0); },
    });
    for (const Caption& c : captions) {
        EXPECT_FALSE(c.text.empty()) << "string " << c.id;
        EXPECT_GT(c.room, 50) << "string " << c.id << ": its control was measured";
        EXPECT_LE(c.width, c.room) << "string " << c.id << " of " << (c.library[0] == L'd' ? "de" : "en");
    }
    EXPECT_GT(overlongWidth, tabRoom);

    // A static wraps a line wider than itself and loses the rest below its height.
    EXPECT_EQ(versionLine, std::wstring(L"Brindle, Version ") + BRINDLE_TEST_PRODUCT_VERSION);
    EXPECT_LE(versionWidth, versionRoom);
    EXPECT_LE(legalWidth, legalRoom);
}
