// The view of the tab "Categories": the catalogue as a two-level tree, category nodes at the
// root and the applications of each beneath them. It reports its selection to the owner and
// asks the owner for Open and Help; it starts nothing itself.
#pragma once
#include "catalog/category_names.h"
#include "sable/sable_scrollbar.h"
#include "ui/entry_images.h"
#include "ui/page_view.h"
#include "win/controls.h"

#include <map>
#include <optional>
#include <vector>

class CTreeCtrlCategory : public win::TreeCtrl, public IPageView {
public:
    CTreeCtrlCategory() = default;

    // Fills the tree and selects the requested or stored application (reported to the owner as
    // a user's selection is); takes the keyboard focus.
    bool InitView(const ViewContext& context, const RECT& placement) override;
    // Shows (reporting a selected application to the owner) or hides the control.
    bool ShowView(bool show) override;
    void MoveView(const RECT& placement, int grow) override;
    void FocusView() override { SetFocus(); }
    bool RefreshView(const EntryList& entries) override;
    CAppInfo* EntryAt(POINT screen) const override;
    CAppInfo* SelectedEntry() const override { return ApplicationOf(GetSelectedItem()); }
    void ChangeDpi(const win::DpiScale& scale, HFONT font) override;
    void ShowMatches(const EntryList& matches) override;
    void EndSearch(const EntryList& entries) override;
    bool SelectFirstEntry() override;

    // Enter on an application node (a node without children) opens it.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    // The context menu's commands ask the owner for Open or Help of the menu's entry.
    bool OnCommand(UINT id, UINT code, HWND source) override;

private:
    bool OnSelChanged(HTREEITEM newItem, HTREEITEM oldItem, LRESULT& result) override;
    bool OnItemExpanding(HTREEITEM item, UINT action, LRESULT& result) override;
    bool OnItemExpanded(HTREEITEM item, UINT action, LRESULT& result) override;
    bool OnGetDispInfo(TVITEMW& item, LRESULT& result) override;
    bool OnDblClk(LRESULT& result) override;
    bool OnRClick(LRESULT& result) override;
    bool OnReturn(LRESULT& result) override;
    bool OnKeyDown(WORD key, LRESULT& result) override;

    void CreateImageList(int entries);
    // A new image list at the scale's size with the folders; each application node asks for its
    // icon again when it is next drawn.
    void RebuildImageList();
    // Inserts the categories that have applications, each showing that it has some; selects the
    // one whose id is `wanted`, inserting its category's applications first.
    void Fill(const EntryList& entries, const std::wstring& wanted);
    // Empties the tree and fills it again, telling the owner nothing and storing nothing.
    void Refill(const EntryList& entries, const std::wstring& wanted);
    // A node by what it stands for: an application by its entry, a category by its number.
    struct NodeKey {
        const CAppInfo* entry = nullptr;
        int category = -1;
    };
    NodeKey KeyOf(HTREEITEM node) const;
    // The node of `key`, inserting the applications of its category when they are not in yet.
    HTREEITEM NodeOf(const NodeKey& key);
    // What the tree showed before a search: the selected node, the open categories, the first
    // node in view.
    struct Shown {
        NodeKey selected;
        std::vector<int> openCategories;
        NodeKey top;
    };
    Shown WhatIsShown() const;
    void ShowAgain(const Shown& shown);
    void SetFolderImage(HTREEITEM category, bool open) const;
    // Inserts the applications of `category` when they are not in yet; the node of `wanted`
    // among them, or null.
    HTREEITEM FillCategory(HTREEITEM category, const CAppInfo* wanted = nullptr);
    bool IsApplication(HTREEITEM node) const { return node && GetParentItem(node) != nullptr; }
    CAppInfo* EntryOf(HTREEITEM node) const { return reinterpret_cast<CAppInfo*>(GetItemData(node)); }
    CAppInfo* ApplicationOf(HTREEITEM node) const { return IsApplication(node) ? EntryOf(node) : nullptr; }
    HTREEITEM NodeAt(POINT screen) const;
    HTREEITEM NodeUnderPointer() const;

    ViewContext m_context;
    CCategoryNames m_categoryNames;
    win::ImageList m_imageList;
    EntryImages m_images;
    std::optional<Shown> m_beforeSearch;  // while narrowed by a search
    int m_nFolderImages = 0;  // the folder frames at the head of the image list
    sable::SableScrollBarPaintHook m_scrollHook;
    CAppInfo* m_pMenuEntry = nullptr;  // the entry the context menu was last shown for
    bool m_bRefilling = false;         // a refill reports no selection change and stores nothing
    // The applications, in the shown order, of each category node not filled yet.
    std::map<HTREEITEM, EntryList> m_unfilled;
};
