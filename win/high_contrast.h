// The system's high-contrast mode: while it is on, programs draw with the system's colours.
#pragma once
#include <windows.h>

namespace win {

// Whether the high-contrast mode is on (SPI_GETHIGHCONTRAST).
bool IsHighContrastOn();

// Whether a top-level window's `message` may have changed the colours it draws with: the mode
// switched (WM_SETTINGCHANGE for SPI_SETHIGHCONTRAST, or a general change) or the system's
// colours changed (WM_SYSCOLORCHANGE).
bool ChangesDrawingColours(UINT message, WPARAM wParam);

// Answers `on` (1 or 0) instead of the system until -1 gives the system's answer back; for a
// test on a system that cannot switch the mode itself.
void OverrideHighContrast(int on);

}  // namespace win
