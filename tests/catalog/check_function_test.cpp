// Availability checks against the check fixture library, in both calling conventions.
#include "tests/catalog/catalog_fixture.h"
#include "catalog/check_function.h"
#include "catalog/check_session.h"

#include <gtest/gtest.h>

namespace {

class CheckFunction : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox_.ok()); }
    RegistrySandbox sandbox_;  // the fixture's counters land in the sandboxed HKCU
    CheckRecordsInSandbox records_{sandbox_};
    const std::wstring library_ = FixturePath(L"check_fixture.dll");
};

}  // namespace

TEST_F(CheckFunction, AnswerIsTheFunctionsReturnValueInBothConventions)
{
    for (const wchar_t* function : {L"CheckCdecl", L"CheckStdcall"}) {
        for (int answer : {0, 1, -1, 2}) {
            std::wstring spec = library_ + L"," + function + L"," + std::to_wstring(answer) + L",7";
            DWORD before = CheckCalls(function);
            EXPECT_EQ(EvaluateAppCheckFunc(spec), answer) << testing::PrintToString(spec);
            EXPECT_EQ(CheckCalls(function), before + 1);
            EXPECT_EQ(CheckArgument(function, L"Second"), 7);
        }
    }
}

TEST_F(CheckFunction, ManyCallsOfEitherConventionKeepTheStackBalanced)
{
    // A callee-cleaned function called the caller-cleaned way would drift the stack 8 bytes per call.
    // All calls go to one helper, which must survive them.
    CheckSession session;
    int sum = 0;
    DWORD helper = 0;
    for (int i = 0; i < 25; ++i) {
        sum += CallCheckFunction(library_, L"CheckStdcall", 1, i);
        sum += CallCheckFunction(library_, L"CheckCdecl", 1, i);
        if (i == 0)
            helper = session.HelperProcessId();
    }
    EXPECT_EQ(sum, 50);
    EXPECT_NE(helper, 0u);
    EXPECT_EQ(session.HelperProcessId(), helper);
    EXPECT_EQ(CheckCalls(L"CheckStdcall"), 25u);
    EXPECT_EQ(CheckCalls(L"CheckCdecl"), 25u);
    EXPECT_EQ(CheckArgument(L"CheckStdcall", L"Second"), 24);
}

TEST_F(CheckFunction, ThreeFieldsPassZeroAsSecondArgumentAndSpacesAreIgnored)
{
    EXPECT_EQ(EvaluateAppCheckFunc(L"  " + library_ + L" ,  CheckStdcall ,  -3  "), -3);
    EXPECT_EQ(CheckArgument(L"CheckStdcall", L"First"), -3);
    EXPECT_EQ(CheckArgument(L"CheckStdcall", L"Second"), 0);
    EXPECT_EQ(EvaluateAppCheckFunc(library_ + L",CheckCdecl,5x,+9junk"), 5);
    EXPECT_EQ(CheckArgument(L"CheckCdecl", L"Second"), 9);
    EXPECT_EQ(EvaluateAppCheckFunc(library_ + L",CheckCdecl,none"), 0);  // no digits read as 0
    EXPECT_EQ(CheckCalls(L"CheckCdecl"), 2u);
}

TEST_F(CheckFunction, MalformedSpecificationsCallNothing)
{
    const std::wstring specs[] = {
        L"",
        library_,
        library_ + L",CheckCdecl",                 // 2 fields
        library_ + L",CheckCdecl,1,2,3",           // 5 fields
        library_ + L",CheckCdecl,1,2,",            // a trailing comma makes 5
    };
    for (const std::wstring& spec : specs)
        EXPECT_EQ(EvaluateAppCheckFunc(spec), 0) << testing::PrintToString(spec);
    EXPECT_EQ(CheckCalls(L"CheckCdecl"), 0u);
}

TEST_F(CheckFunction, UnloadableLibrariesAndMissingExportsAnswerZero)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    EXPECT_EQ(CallCheckFunction(FixturePath(L"no_such_library.dll"), L"CheckCdecl", 1, 0), 0);
    EXPECT_EQ(CallCheckFunction(L"", L"CheckCdecl", 1, 0), 0);
    EXPECT_EQ(CallCheckFunction(library_, L"CheckMissing", 1, 0), 0);
    EXPECT_EQ(CallCheckFunction(library_, L"checkcdecl", 1, 0), 0);  // export names are exact
    EXPECT_EQ(CallCheckFunction(library_, L"CheckStdcall@8", 1, 0), 0);  // only the plain name is exported
    EXPECT_EQ(CallCheckFunction(library_, L"", 1, 0), 0);
    EXPECT_EQ(CheckCalls(L"CheckCdecl") + CheckCalls(L"CheckStdcall"), 0u);
    // A text file is not a library.
    EXPECT_EQ(CallCheckFunction(FixturePath(L"fixture.ico"), L"CheckCdecl", 1, 0), 0);
}

TEST_F(CheckFunction, LibraryFieldMayBeARegistryReference)
{
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, L"Software\\Vendor", L"CheckLib", library_));
    EXPECT_EQ(EvaluateAppCheckFunc(L"HKEY_LOCAL_MACHINE\\Software\\Vendor\\CheckLib,CheckCdecl,4"), 4);
    EXPECT_EQ(CheckCalls(L"CheckCdecl"), 1u);
    // Lower case is no reference: it is taken as a file name and fails to load.
    EXPECT_EQ(EvaluateAppCheckFunc(L"hkey_local_machine\\Software\\Vendor\\CheckLib,CheckCdecl,4"), 0);
    // An unresolvable reference gives an empty library path.
    EXPECT_EQ(EvaluateAppCheckFunc(L"HKEY_LOCAL_MACHINE\\Software\\Vendor\\Nothing,CheckCdecl,4"), 0);
    EXPECT_EQ(CheckCalls(L"CheckCdecl"), 1u);
}
