// The list control both entry lists are: the all-applications list and the recent list differ
// only in what they list, which selection they restore and whether they take the focus.
#pragma once
#include "sable/sable_scrollbar.h"
#include "ui/entry_images.h"
#include "ui/name_tip.h"
#include "ui/page_view.h"
#include "ui/type_ahead.h"
#include "win/controls.h"

#include <optional>
#include <string>
#include <vector>

class CEntryListView : public win::ListCtrl, public IPageView {
public:
    // Destroys the control while this object can still take its image list back.
    ~CEntryListView() override;

    // Creates the hidden control and fills it with what the context gives this view, selecting
    // the requested or stored entry (else the first row).
    bool InitView(const ViewContext& context, const RECT& placement) override;
    // Lists `entries` afresh as a fresh fill would, with nothing selected.
    bool RefreshView(const EntryList& entries) override;
    // Hides, or shows and restores the selection from the control's anchor.
    bool ShowView(bool show) override;
    void MoveView(const RECT& placement, int grow) override;
    void FocusView() override { SetFocus(); }
    CAppInfo* EntryAt(POINT screen) const override;
    CAppInfo* SelectedEntry() const override;
    void ShowMatches(const EntryList& matches) override;
    void EndSearch(const EntryList& entries) override;
    bool SelectFirstEntry() override;
    void ChangeDpi(const win::DpiScale& scale, HFONT font) override;

    // Enter with at least one row selected opens and is consumed; typed characters select the
    // next row whose name begins with what was typed.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    // The view `view`, created as control `id`; with `takesFocus` it takes the keyboard focus
    // once filled.
    CEntryListView(page::View view, UINT id, bool takesFocus) : m_view(view), m_id(id), m_bTakesFocus(takesFocus) {}

    // The context menu's commands ask the owner for Open or Help of the menu's entry.
    bool OnCommand(UINT id, UINT code, HWND source) override;
    bool OnNotify(NMHDR* hdr, LRESULT& result) override;
    void OnSize(UINT type, int width, int height) override;
    void OnDestroy() override;
    // Painted in one piece: no erased background shows before the rows are drawn.
    bool OnEraseBkgnd(HDC dc) override;
    bool OnPaint() override;
    void OnMouseEvent(UINT msg, POINT client) override;

private:
    bool OnItemChanged(int item, UINT oldState, UINT newState, LPARAM data, LRESULT& result) override;
    bool OnDblClk(int item, LRESULT& result) override;
    bool OnRClick(int item, LRESULT& result) override;
    bool OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result) override;
    bool OnGetDispInfo(LVITEMW& item, LRESULT& result) override;

    // The one way rows come in: empties the list and its images, then lists `entries` in the
    // shown order; a row's icon is made when it is first drawn. The entry whose id is `wanted`,
    // or null.
    const CAppInfo* Fill(const EntryList& entries, const std::wstring& wanted);
    // What the list showed before a search: the selected rows, the focused one, the anchor of the
    // next selection and the first row in view, by entry.
    struct Shown {
        std::vector<CAppInfo*> selected;
        CAppInfo* focused = nullptr;
        CAppInfo* anchor = nullptr;
        CAppInfo* top = nullptr;
    };
    Shown WhatIsShown() const;
    void ShowAgain(const Shown& shown);
    // Selects the row the user typed the start of; false when the message was not a typed character.
    bool TypeToFind(const MSG& msg);

    const page::View m_view;
    const UINT m_id;
    const bool m_bTakesFocus;
    ViewContext m_context;
    bool m_bFilled = false;
    win::ImageList m_imageList;
    EntryImages m_images;
    std::optional<Shown> m_beforeSearch;  // while narrowed by a search
    sable::SableScrollBarPaintHook m_scrollHook;
    CNameTip m_nameTip;
    TypeAhead m_typeAhead;
    CAppInfo* m_pMenuEntry = nullptr;  // the entry the context menu was last shown for
};
