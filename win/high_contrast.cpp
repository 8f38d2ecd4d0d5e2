#include "win/high_contrast.h"

namespace win {

namespace {

int g_override = -1;

}  // namespace

bool IsHighContrastOn()
{
    if (g_override >= 0)
        return g_override != 0;
    HIGHCONTRASTW mode{};
    mode.cbSize = sizeof(mode);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(mode), &mode, 0) &&
           (mode.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool ChangesDrawingColours(UINT message, WPARAM wParam)
{
    if (message == WM_SYSCOLORCHANGE)
        return true;
    // A change announced without naming the setting may be any of them.
    return message == WM_SETTINGCHANGE && (wParam == SPI_SETHIGHCONTRAST || wParam == 0);
}

void OverrideHighContrast(int on)
{
    g_override = on < 0 ? -1 : (on != 0);
}

}  // namespace win
