// A push button the skin draws itself (owner-drawn), in the states normal, hot, pressed,
// disabled, focused and default. It keeps the push button's keyboard behaviour: Space clicks
// it, and the dialog's Enter handling sees it as a default or plain push button.
#pragma once
#include "win/controls.h"

namespace sable {

class SableButton : public win::Button {
public:
    bool IsDefault() const { return m_bDefault; }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) override;
    void OnFinalMessage() override;

private:
    void Draw(const DRAWITEMSTRUCT& item) const;

    bool m_bSkinned = false;
    bool m_bDefault = false;
    bool m_bHot = false;
};

}  // namespace sable
