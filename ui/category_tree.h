// The view of the tab "Categories": the catalogue as a two-level tree, category nodes at the
// root and the applications of each beneath them. It reports its selection to the owner and
// asks the owner to open an application by posting commands; it starts nothing itself.
#pragma once
#include "catalog/category_names.h"
#include "sable/sable_scrollbar.h"
#include "ui/app_list.h"
#include "ui/start_request.h"
#include "win/controls.h"

class IViewOwner;

class CTreeCtrlCategory : public win::TreeCtrl {
public:
    CTreeCtrlCategory() = default;

    // The owner's catalogue; set before InitView.
    const CAppList* m_pAppList = nullptr;

    // Creates the control in `owner` at the views' placement in `ownerClient`, fills it and
    // selects the requested or stored application. Selection changes go to `sink`.
    bool InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink, const StartRequest& start);
    // Shows (reporting a selected application to the owner) or hides the control.
    bool ShowView(bool show);
    void MoveView(const RECT& ownerClient, int grow);

    // Enter on an application node (a node without children) opens it.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    // Turns the context menu's commands into Open / Help posted to the owner.
    bool OnCommand(UINT id, UINT code, HWND source) override;

private:
    bool OnSelChanged(HTREEITEM newItem, HTREEITEM oldItem, LRESULT& result) override;
    bool OnItemExpanded(HTREEITEM item, UINT action, LRESULT& result) override;
    bool OnDblClk(LRESULT& result) override;
    bool OnRClick(LRESULT& result) override;
    bool OnReturn(LRESULT& result) override;
    bool OnKeyDown(WORD key, LRESULT& result) override;

    void CreateImageList();
    void Fill(const StartRequest& start);
    bool IsApplication(HTREEITEM node) const { return node && GetParentItem(node) != nullptr; }
    CAppInfo* EntryOf(HTREEITEM node) const { return reinterpret_cast<CAppInfo*>(GetItemData(node)); }
    HTREEITEM NodeUnderPointer() const;

    CCategoryNames m_categoryNames;
    win::ImageList m_imageList;
    sable::SableScrollBarPaintHook m_scrollHook;
    IViewOwner* m_pOwner = nullptr;
};
