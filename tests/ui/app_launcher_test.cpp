// Starting an entry's program and opening its help, with real processes: the recording program
// stands in for the started program and for the help viewer, and tells what it was given.
#include "ui/app_launcher.h"
#include "app/resource_library.h"
#include "catalog/app_info.h"
#include "sable/sable_api.h"
#include "tests/support/launch_record.h"
#include "tests/support/test_process.h"
#include "tests/ui/modal_script.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

bool EndsWith(const std::wstring& text, const std::wstring& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool SameFolder(std::wstring a, std::wstring b)
{
    while (!a.empty() && a.back() == L'\\')
        a.pop_back();
    while (!b.empty() && b.back() == L'\\')
        b.pop_back();
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

// Runs `action` on this thread; returns the text of the "Brindle" message box it showed (closed
// again with Enter), or nothing when it showed none.
std::wstring MessageShownBy(const std::function<void()>& action)
{
    std::wstring seen;
    ModalScript script({[&] {
        HWND box = FindThreadDialog(L"Brindle");
        if (!box)
            return;
        wchar_t text[128] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 128);
        seen = text;
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    }});
    action();
    return seen;
}

// Makes every folder of `path` below its first existing one.
void MakeFolders(const std::wstring& path)
{
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW((L"\\\\?\\" + path.substr(0, slash)).c_str(), nullptr);
}

class Launch : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(LoadResourceLibrary());
        sable::SableAPI::EnableLuna(true);
    }

    void SetUp() override
    {
        m_folder = m_temp.path() + L"with space\\";
        ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr));
        m_program = m_folder + L"record args.exe";
        ASSERT_TRUE(CopyFileW(LaunchRecord::Program().c_str(), m_program.c_str(), FALSE));
    }

    // A file at `path` (folders made as needed) through the long-path form.
    static bool MakeFile(const std::wstring& path)
    {
        MakeFolders(path);
        HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
        return true;
    }

    // Proves that nothing else was started: one more start must be the only record.
    void ExpectOnlyTheFence()
    {
        CAppInfo fence;
        fence.m_strAppPath = LaunchRecord::Program();
        fence.m_strAppOption = L"fence";
        ASSERT_EQ(OpenApp(fence), OpenResult::Started);
        const auto records = m_record.WaitFor(1);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_TRUE(EndsWith(records[0].commandLine, L" fence")) << Narrow(records[0].commandLine);
        m_record.Clear();
    }

    TempDirectory m_temp;
    LaunchRecord m_record;
    std::wstring m_folder;   // a folder with a space in its name
    std::wstring m_program;  // the recording program in it, its name with a space too
};

TEST_F(Launch, OpenPassesTheFileWithoutItsQuotesAndTheParametersAndFolderAsStored)
{
    for (const std::wstring& stored : {L"\"" + m_program + L"\"", L"\"\"\"" + m_program + L"\"\"", m_program}) {
        SCOPED_TRACE(Narrow(stored));
        CAppInfo app;
        app.m_strAppPath = stored;
        app.m_strAppOption = L"--alpha \"b c\" d";
        app.m_strFolder = m_temp.path();
        OpenResult result = OpenResult::NotFound;
        EXPECT_EQ(MessageShownBy([&] { result = OpenApp(app); }), L"");
        EXPECT_EQ(result, OpenResult::Started);

        const auto records = m_record.WaitFor(1);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].commandLine, L"\"" + m_program + L"\" --alpha \"b c\" d");
        EXPECT_TRUE(SameFolder(records[0].directory, m_temp.path())) << Narrow(records[0].directory);
        m_record.Clear();
    }
}

TEST_F(Launch, APathOfOnlyQuotationMarksStartsNothingAndSaysNothing)
{
    for (const wchar_t* stored : {L"\"", L"\"\"\"\"", L""}) {
        SCOPED_TRACE(Narrow(stored));
        CAppInfo app;
        app.m_strAppPath = stored;
        app.m_strAppOption = L"ignored";
        OpenResult result = OpenResult::Started;
        EXPECT_EQ(MessageShownBy([&] { result = OpenApp(app); }), L"");
        EXPECT_EQ(result, OpenResult::NothingToStart);
    }
    ExpectOnlyTheFence();
}

TEST_F(Launch, AProgramThatCannotBeStartedSaysProgramNotFound)
{
    for (const std::wstring& stored :
         {m_folder + L"missing.exe", L"\"" + m_temp.path() + L"no such folder\\x.exe\"", m_folder + L"\"inner\".exe"}) {
        SCOPED_TRACE(Narrow(stored));
        CAppInfo app;
        app.m_strAppPath = stored;
        OpenResult result = OpenResult::Started;
        EXPECT_EQ(MessageShownBy([&] { result = OpenApp(app); }), L"Program not found.");
        EXPECT_EQ(result, OpenResult::NotFound);
    }
}

TEST_F(Launch, CompiledHelpGoesToTheViewerAtItsTopicWithThePathQuoted)
{
    HelpViewerStandIn viewer;
    ASSERT_TRUE(viewer.ok());
    const std::wstring help = m_folder + L"help file.chm";
    ASSERT_TRUE(MakeFile(help));

    const struct {
        std::wstring stored;
        int topic;
        std::wstring parameters;
    } cases[] = {
        {help, 1234, L"-mapid 1234 \"" + help + L"\""},
        {help, -7, L"-mapid -7 \"" + help + L"\""},
        {L"\"" + help + L"\"", 0, L"-mapid 0 \"" + help + L"\""},  // the marks go before the file is looked for
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.stored));
        CAppInfo app;
        app.m_strHelpPath = c.stored;
        app.m_nHelpOption1 = 1;
        app.m_nHelpOption2 = c.topic;
        EXPECT_EQ(MessageShownBy([&] { OpenHelp(app); }), L"");
        const auto records = m_record.WaitFor(1);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_TRUE(EndsWith(records[0].commandLine, L"hh.exe " + c.parameters) ||
                    EndsWith(records[0].commandLine, L"hh.exe\" " + c.parameters))
            << Narrow(records[0].commandLine);
        m_record.Clear();
    }
}

TEST_F(Launch, OtherHelpOpensTheFileItselfQuoted)
{
    // A program as the help file: "opening" it runs it, which shows how the shell was asked.
    const std::wstring help = m_folder + L"help viewer.exe";
    ASSERT_TRUE(CopyFileW(LaunchRecord::Program().c_str(), help.c_str(), FALSE));
    for (int option : {0, 2}) {
        CAppInfo app;
        app.m_strHelpPath = help;
        app.m_nHelpOption1 = option;
        app.m_nHelpOption2 = 55;
        EXPECT_EQ(MessageShownBy([&] { OpenHelp(app); }), L"");
        const auto records = m_record.WaitFor(1);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].commandLine, L"\"" + help + L"\"");
        m_record.Clear();
    }
}

TEST_F(Launch, AHelpFileThatIsMissingOrDoesNotFitSaysHelpFileNotFoundAndStartsNothing)
{
    HelpViewerStandIn viewer;
    ASSERT_TRUE(viewer.ok());
    // Existing files whose paths the 260-unit buffer cannot hold, as they are or once quoted.
    const std::wstring base = m_folder + std::wstring(120, L'a') + L"\\" + std::wstring(120, L'b') + L"\\";
    const std::wstring longPath = base + std::wstring(300 - base.size() - 4, L'c') + L".chm";
    ASSERT_EQ(longPath.size(), 300u);
    ASSERT_TRUE(MakeFile(longPath));
    std::wstring unquotable = m_folder + L"x y\\";
    unquotable += std::wstring(MAX_PATH - 2 - unquotable.size() - 4, L'd') + L".chm";  // 258 units
    ASSERT_TRUE(MakeFile(unquotable));

    for (const std::wstring& stored : {m_folder + L"missing.chm", L"\"" + m_folder + L"missing.chm\"", longPath,
                                       L"\"" + longPath + L"\"", unquotable}) {
        SCOPED_TRACE(Narrow(stored));
        for (int option : {1, 0}) {
            CAppInfo app;
            app.m_strHelpPath = stored;
            app.m_nHelpOption1 = option;
            EXPECT_EQ(MessageShownBy([&] { OpenHelp(app); }), L"Help file not found.");
        }
    }
    CAppInfo none;  // no help path at all: nothing, not even a message
    none.m_nHelpOption1 = 1;
    EXPECT_EQ(MessageShownBy([&] { OpenHelp(none); }), L"");
    ExpectOnlyTheFence();
}

}  // namespace
