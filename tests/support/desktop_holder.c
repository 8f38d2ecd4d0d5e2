/* Keeps Wine's desktop alive between test processes, so that each test does not
   pay for starting it again. Ended by `wineserver -k`. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance; (void)previous; (void)commandLine; (void)show;
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
