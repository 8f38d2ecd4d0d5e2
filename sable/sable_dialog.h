// Skinned dialogs: the backdrop and the colours of their statics come from the skin, the rest
// of the drawing from an installable painter.
#pragma once
#include "win/dialog.h"
#include "win/handles.h"
#include "sable/sable_dialog_painter.h"

namespace sable {

class AbstractDialog : public win::Dialog {
public:
    AbstractDialog(UINT templateId, HWND parent);

    // Installs `painter` (not owned; it must outlive the window). Null puts the skin's own back.
    void SetPainter(SableDialogPainter* painter);
    SableDialogPainter* GetPainter() const { return m_pPainter; }
    // Whether this dialog draws with the skin (decided when its window is initialised).
    bool IsSkinned() const { return m_bSkinned; }

protected:
    // Binds the controls, then sets up the skin for this window.
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCtlColor(HDC dc, HWND child, UINT ctlType, HBRUSH& brush) override;

private:
    SableDialogPainter m_ownPainter;
    SableDialogPainter* m_pPainter;
    win::UniqueBrush m_staticBrush;
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
