#include "app/command_line_info.h"
#include "app/command_line_split.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

struct ParseCase {
    const wchar_t* commandLine;
    bool halt;
    bool haltAll;
    const wchar_t* startName;
    int startTab;
};

// The switch rules: first switch = start name, last switch (if not the first) = start tab.
const ParseCase kParseCases[] = {
    {L"Brindle.exe", false, false, L"", -1},
    {L"Brindle.exe /HALT", true, false, L"HALT", -1},
    {L"Brindle.exe -halt", true, false, L"halt", -1},
    {L"Brindle.exe halt", false, false, L"", -1},  // no prefix: not a switch
    {L"Brindle.exe /halt /haltAll", true, true, L"halt", 0},
    {L"Brindle.exe -HALTALL", false, true, L"HALTALL", -1},
    {L"Brindle.exe /haltAllx", false, false, L"haltAllx", -1},
    {L"Brindle.exe /X", false, false, L"X", -1},
    {L"Brindle.exe /X /2", false, false, L"X", 2},
    {L"Brindle.exe /X /Y /1", false, false, L"X", 1},
    {L"Brindle.exe /X /Y", false, false, L"X", 0},
    {L"Brindle.exe /2", false, false, L"2", -1},
    {L"Brindle.exe /X 2", false, false, L"X", -1},
    {L"Brindle.exe /X /7", false, false, L"X", 7},
    {L"Brindle.exe /X /2 Y", false, false, L"X", -1},  // the last parameter is no switch
    {L"Brindle.exe -X --2", false, false, L"X", -2},    // one prefix character is removed
    {L"Brindle.exe /X \"/ 12abc\"", false, false, L"X", 12},  // blanks accepted, stops at a non-digit
    {L"Brindle.exe First -Second \"/  -3x\"", false, false, L"Second", -3},
    {L"\"C:\\Program Files\\Brindle\\Brindle.exe\" \"/Power Saver\" /1", false, false, L"Power Saver", 1},
    {L"Brindle.exe / /2", false, false, L"", 2},  // an empty switch still takes the start name
};

}  // namespace

TEST(CommandLine, SwitchesGiveHaltFlagsStartNameAndStartTab)
{
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE("command line: " + Narrow(c.commandLine));
        CHubCommandLineInfo info;
        ParseCommandLine(c.commandLine, info);
        EXPECT_EQ(info.m_bHalt, c.halt);
        EXPECT_EQ(info.m_bHaltAll, c.haltAll);
        EXPECT_EQ(info.m_strStartName, c.startName);
        EXPECT_EQ(info.m_nStartTab, c.startTab);
    }
}

namespace {

struct SplitCase {
    const wchar_t* commandLine;
    std::vector<std::wstring> params;
};

const SplitCase kSplitCases[] = {
    {L"prog", {}},
    {L"prog   ", {}},
    {L"prog a b", {L"a", L"b"}},
    {L"prog \t a\t\tb  ", {L"a", L"b"}},
    {L"prog \"a b\" c", {L"a b", L"c"}},
    {L"prog /x\"y z\"w", {L"/xy zw"}},
    {L"prog \"\"", {L""}},
    {L"prog \"\" x", {L"", L"x"}},
    {L"prog a\\\\b", {L"a\\\\b"}},          // backslashes not before a quote stay
    {L"prog a\\\"b", {L"a\"b"}},            // odd count: literal quote
    {L"prog a\\\\\"b c\"", {L"a\\b c"}},     // even count: half of them, and the quote groups
    {L"prog a\\\\\\\"b", {L"a\\\"b"}},       // three: one backslash and a literal quote
    {L"prog \"a\"\"b\" c", {L"a\"b c"}},     // doubled quote inside a group: literal, group ends
    {L"prog \"\"\"a\"\"\" b", {L"\"a\"", L"b"}},
    {L"prog \"unterminated group", {L"unterminated group"}},
    {L"\"C:\\Program Files\\prog.exe\" /X", {L"/X"}},
    {L"\"C:\\dir\\\"prog.exe /X", {L"prog.exe", L"/X"}},  // the program name has no escapes
    {L"C:\\a\"b c\"\\prog.exe /X", {L"c\\prog.exe /X"}},  // unquoted name ends at the first blank
};

}  // namespace

TEST(CommandLine, SplitterFollowsTheArgumentRulesAndSkipsTheProgramName)
{
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE("command line: " + Narrow(c.commandLine));
        EXPECT_EQ(SplitCommandLineParameters(c.commandLine), c.params);
    }
}

TEST(CommandLine, SplitterAgreesWithThePlatformSplitter)
{
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE("command line: " + Narrow(c.commandLine));
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(c.commandLine, &count);
        ASSERT_NE(argv, nullptr);
        std::vector<std::wstring> platform(argv + (count > 0 ? 1 : 0), argv + count);
        LocalFree(argv);
        EXPECT_EQ(SplitCommandLineParameters(c.commandLine), platform);
    }
}
