// Skinned dialogs: the backdrop and the colours of their statics come from the skin, the rest
// of the drawing from an installable painter.
#pragma once
#include "sable/sable_colors.h"
#include "sable/sable_dialog_painter.h"
#include "win/dialog.h"
#include "win/dpi.h"

namespace sable {

class AbstractDialog : public win::Dialog {
public:
    AbstractDialog(UINT templateId, HWND parent);

    // Installs `painter` (not owned; it must outlive the window). Null puts the skin's own back.
    void SetPainter(SableDialogPainter* painter);
    SableDialogPainter* GetPainter() const { return m_pPainter; }
    // Whether this dialog draws with the skin (decided when its window is initialised).
    bool IsSkinned() const { return m_bSkinned; }
    // The DPI its painter draws at (from initialisation: the system's for the window).
    void SetDpi(int dpi);
    const win::DpiScale& Scale() const { return m_scale; }

protected:
    // Binds the controls, then sets up the skin for this window.
    BOOL OnInitDialog() override;
    // A change of the high-contrast mode or of the system's colours reaches the controls inside
    // (common controls repaint only when told) and the whole window is painted again.
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCtlColor(HDC dc, HWND child, UINT ctlType, HBRUSH& brush) override;

private:
    SableDialogPainter m_ownPainter;
    SableDialogPainter* m_pPainter;
    SolidBrush m_staticBrush;
    win::DpiScale m_scale;
    bool m_bSkinned = false;
};

// A skinned modal dialog with the skin's own painter.
class SableDialog : public AbstractDialog {
public:
    SableDialog(UINT templateId, HWND parent) : AbstractDialog(templateId, parent) {}
};

// A skinned dialog meant for a program-supplied painter (SetPainter) and a sizable frame.
class SableDialog2 : public AbstractDialog {
public:
    SableDialog2(UINT templateId, HWND parent) : AbstractDialog(templateId, parent) {}
};

}  // namespace sable
