// The main dialog under test, through its real modal loop: a scratch registry per test, the skin
// on, and a resource library loaded once per suite (the program's own unless the suite loads
// another). A page run also finds the page's windows before its first step.
#pragma once
#include "tests/support/registry_sandbox.h"
#include "tests/ui/modal_script.h"
#include "ui/start_request.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

class CMainDlg;

class MainDialogFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseLibrary(std::wstring()); }
    // Loads the resource library at `path` (empty: the program's own) and turns the skin on.
    static void UseLibrary(const std::wstring& path);
    void SetUp() override { ASSERT_TRUE(m_sandbox.ok()); }

    // Runs a fresh main dialog with `start` through `steps`, which end it themselves (or the run
    // is ended after `timeoutMs`). Meanwhile m_hwnd is its window and m_mainDlg the dialog.
    INT_PTR RunMainDialog(std::vector<ModalScript::Step> steps, const StartRequest& start = {},
                          UINT timeoutMs = 5000);
    // Runs it with `start`, finding the page's windows before the first step and closing it
    // after the last; every step must have run.
    void RunPage(std::vector<ModalScript::Step> steps, const StartRequest& start, UINT timeoutMs);
    // The page's windows have just been found.
    virtual void OnPageFound() {}

    RegistrySandbox m_sandbox;
    HWND m_hwnd = nullptr;               // the dialog's window, kept after it is gone
    CMainDlg* m_mainDlg = nullptr;       // while it runs
    bool m_windowGoneReported = false;   // the dialog said its window is gone
    bool m_allStepsRan = false;          // of the last run
    bool m_timedOut = false;
    HWND m_tab = nullptr;
    HWND m_tree = nullptr;
    HWND m_all = nullptr;
    HWND m_recent = nullptr;
    HWND m_open = nullptr;
    HWND m_help = nullptr;
    HWND m_pane = nullptr;
};
