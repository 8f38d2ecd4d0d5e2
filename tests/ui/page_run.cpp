#include "tests/ui/page_run.h"

#include "ui/main_dlg.h"

bool RunMainDialog(std::vector<ModalScript::Step> steps, const StartRequest& start,
                   const std::function<void(HWND dialog)>& opened, UINT timeoutMs)
{
    CMainDlg dialog(nullptr);
    dialog.SetStartRequest(start);
    HWND window = nullptr;
    dialog.SetWindowCallback([&window](HWND hwnd) {
        if (hwnd)
            window = hwnd;
    });
    steps.insert(steps.begin(), [&] { opened(window); });
    steps.push_back([&window] { PostMessageW(window, WM_CLOSE, 0, 0); });
    ModalScript script(std::move(steps), timeoutMs);
    dialog.DoModal();
    return script.AllStepsRan();
}
