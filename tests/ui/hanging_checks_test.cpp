// The main dialog over a catalogue whose checks hang: they run side by side, so the window is
// ready after about one check time limit however many hang, with every good entry in it.
#include "catalog/check_session.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/tree_reader.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class HangingChecks : public MainDialogFixture {
protected:
    CheckRecordsInSandbox m_records{m_sandbox};
};

}  // namespace

TEST_F(HangingChecks, FourHangingChecksHoldTheWindowForOneTimeLimitAndTheGoodEntriesAreShown)
{
    const std::wstring good = FixturePath(L"check_fixture.dll") + L",CheckCdecl,1";
    const std::wstring hangingStart = FixturePath(L"hanging_check.dll") + L",Check,1";  // loading never ends
    const std::wstring sleeping = FixturePath(L"faulty_checks.dll") + L",SleepLong,1";
    // In catalogue order (the ids'), each good check comes after hanging ones.
    const struct {
        const wchar_t* id;
        const wchar_t* name;
        std::wstring check;
    } entries[] = {
        {L"A", L"Hang1", hangingStart}, {L"B", L"Good1", good},     {L"C", L"Hang2", sleeping},
        {L"D", L"Hang3", hangingStart}, {L"E", L"Hang4", sleeping}, {L"F", L"Good2", good},
    };
    for (const auto& entry : entries) {
        ASSERT_TRUE(RegisterMinimalApp(entry.id, entry.name, 3));
        ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(entry.id), L"AppCheck", 1));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(entry.id), L"AppCheckFunc", entry.check));
    }

    // The product's own time limit: the page's build opens its own check session.
    const DWORD started = GetTickCount();
    DWORD ready = 0;
    std::set<std::wstring> shown;
    RunPage({[&] {
                ready = GetTickCount() - started;
                const Tree tree{m_tree};
                for (HTREEITEM category = tree.Root(); category; category = tree.Next(category, TVGN_NEXT)) {
                    shown.insert(tree.Text(category));
                    for (const std::wstring& text : tree.Texts(tree.Next(category, TVGN_CHILD)))
                        shown.insert(text);
                }
            }},
            StartRequest{}, 10000);
    EXPECT_GE(ready, kCheckTimeLimitMs - 100) << "the hanging checks were not waited for";
    // One limit, the start of the helpers for the checks found hanging, and the page's own build,
    // with room for a loaded machine; one after another they would take four limits.
    EXPECT_LT(ready, kCheckTimeLimitMs + 1500) << "the checks held the window longer than about one limit";
    EXPECT_EQ(shown, (std::set<std::wstring>{L"Keyboard and Mouse", L"Good1", L"Good2"}));
    EXPECT_EQ(CheckCalls(L"CheckCdecl"), 2u);
}
