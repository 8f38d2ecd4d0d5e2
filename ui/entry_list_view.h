// The list control both entry lists are: the all-applications list and the recent list differ
// only in what they fill themselves with and which selection they restore.
#pragma once
#include "sable/sable_scrollbar.h"
#include "ui/page_view.h"
#include "win/controls.h"

class CEntryListView : public win::ListCtrl, public IPageView {
public:
    // Destroys the control while this object can still take its image list back.
    ~CEntryListView() override;

    // Hides, or shows and restores the selection from the control's anchor.
    bool ShowView(bool show) override;
    void MoveView(const RECT& placement, int grow) override;
    void FocusView() override { SetFocus(); }
    CAppInfo* EntryAt(POINT screen) const override;
    CAppInfo* SelectedEntry() const override;
    void ChangeDpi(const win::DpiScale& scale, HFONT font) override;

    // Enter with at least one item selected opens and is consumed.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    CEntryListView() = default;

    // Creates the hidden control `id` with its image list; false when it could not.
    bool CreateView(UINT id, const ViewContext& context, const RECT& placement);
    // Selects the last item of `match` (the first item without one); item changes reach the owner from now on.
    void FinishFill(const CAppInfo* match);

    // The context menu's commands ask the owner for Open or Help of the menu's entry.
    bool OnCommand(UINT id, UINT code, HWND source) override;
    void OnDestroy() override;

    win::ImageList m_imageList;

private:
    bool OnItemChanged(int item, UINT oldState, UINT newState, LPARAM data, LRESULT& result) override;
    bool OnDblClk(int item, LRESULT& result) override;
    bool OnRClick(int item, LRESULT& result) override;
    bool OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result) override;

    ViewContext m_context;
    bool m_bFilled = false;
    sable::SableScrollBarPaintHook m_scrollHook;
    CAppInfo* m_pMenuEntry = nullptr;  // the entry the context menu was last shown for
};
