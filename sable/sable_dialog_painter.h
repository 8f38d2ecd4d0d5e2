// Painter of skinned dialogs. A dialog calls these with a device context and a rectangle; a
// program derives from it to change parts of the look. The order of the virtual operations
// is fixed: programs override them by position as well as by name.
#pragma once
#include "win/dpi.h"

#include <windows.h>

namespace sable {

class SableDialogPainter {
public:
    virtual ~SableDialogPainter();
    // The client area, called for every erase of the dialog's background.
    virtual void DrawBackdrop(HDC dc, const RECT& rc);
    // The whole window in window coordinates, after the system has drawn its frame.
    virtual void DrawNonClient(HDC dc, const RECT& rc);
    // Parts of a drawn caption; the skin keeps the system's caption, so these are hooks only.
    virtual void DrawTitleBar(HDC dc, const RECT& rc);
    virtual void DrawCloseButton(HDC dc, const RECT& rc);
    virtual void DrawHelpButton(HDC dc, const RECT& rc);
    virtual void DrawMaxButton(HDC dc, const RECT& rc);
    virtual void DrawMinButton(HDC dc, const RECT& rc);
    virtual void DrawRestoreButton(HDC dc, const RECT& rc);
    virtual void DrawTitleText(HDC dc, const RECT& rc);
    // Parts of a drawn menu bar (skinned dialogs here have none).
    virtual void DrawTopMenuBarBkgnd(HDC dc, const RECT& rc);
    virtual void DrawTopMenuBarText(HDC dc, const RECT& rc);
    virtual void DrawMenuBarBkgnd(HDC dc, const RECT& rc);
    virtual void DrawMenuBarText(HDC dc, const RECT& rc);
    virtual void DrawMenuBarSeparator(HDC dc, const RECT& rc);

    // The DPI the dialog is drawn at; set by the dialog.
    void SetScale(const win::DpiScale& scale) { m_scale = scale; }
    const win::DpiScale& Scale() const { return m_scale; }

private:
    win::DpiScale m_scale;
};

}  // namespace sable
