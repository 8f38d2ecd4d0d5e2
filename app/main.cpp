// Entry point of Brindle.exe and the process's global objects.
#include "app/hub_app.h"

#include <windows.h>

// Both exist before start-up runs, in this order: the message id, then the application
// object, whose guard opens the shutdown events from the process's first moment.
const UINT g_nObserveAppNotifyMessage = ObserveAppNotifyMessage();
CHubApp theApp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    theApp.InitInstance();  // always false: there is no application message loop
    return 0;
}
