// A push button the skin draws itself (owner-drawn), in the states normal, hot, pressed,
// disabled, focused and default. It keeps the push button's keyboard behaviour: Space clicks
// it, and the dialog's Enter handling sees it as a default or plain push button.
#pragma once
#include "win/controls.h"
#include "win/dpi.h"

namespace sable {

// To a screen reader it is a push button with its caption for a name, whatever draws it.
class SableButton : public win::Button, private win::AccessibleParts {
public:
    bool IsDefault() const { return m_bDefault; }
    // The DPI the button draws at (from creation: the system's for its window).
    void SetDpi(int dpi) { m_scale = win::DpiScale(dpi); }

    win::AccessibleParts* GetAccessibleParts() override { return this; }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) override;
    void OnFinalMessage() override;

private:
    void Draw(const DRAWITEMSTRUCT& item) const;

    bool Name(int item, std::wstring& name) const override;
    bool Role(int item, long& role) const override;
    bool State(int item, long& state) const override;
    bool KeyboardShortcut(int item, std::wstring& shortcut) const override;
    bool FocusedItem(int& item) const override;
    bool DoDefaultAction(int item) override;

    win::DpiScale m_scale;
    bool m_bSkinned = false;
    bool m_bDefault = false;
    bool m_bHot = false;
};

}  // namespace sable
