#include "run_main_dialog.h"

#include "hub_app.h"
#include "resource.h"
#include "resource_library.h"

#include <windows.h>

namespace {

// Template 129 as it is: Escape and WM_CLOSE end it, Enter does nothing.
INT_PTR CALLBACK PlainMainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CHubApp*>(lParam)->SetMainWindow(window);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(window, IDCANCEL);
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, IDCANCEL);
        return TRUE;
    case WM_DESTROY:
        if (auto* app = reinterpret_cast<CHubApp*>(GetWindowLongPtrW(window, DWLP_USER)))
            app->SetMainWindow(nullptr);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

void RunMainDialog(CHubApp& app)
{
    DialogBoxParamW(GetResourceModule(), MAKEINTRESOURCEW(IDD_MAIN), nullptr, PlainMainDialogProc,
                    reinterpret_cast<LPARAM>(&app));
}
