#include "ui/category_tree.h"

#include "res/resource.h"
#include "ui/entry_order.h"
#include "ui/folder_images.h"
#include "ui/page_ids.h"
#include "ui/view_common.h"
#include "ui/window_state.h"
#include "win/key_event.h"
#include "win/window_messages.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const int kRowHeight = 22;  // at 96 DPI
// Frames of the folder strips in the image list: closed (resource 141) then open (140).
const int kClosedFolderImage = 0;
const int kOpenFolderImage = 5;

// The caption position of `category`: its own for the named categories, the last ("Others")
// for every other number.
int CaptionPositionOf(int category)
{
    return category >= 0 && category < kCategoryCaptionCount - 1 ? category : kCategoryCaptionCount - 1;
}

const page::View kView = page::View::Tree;

}  // namespace

bool CTreeCtrlCategory::InitView(const ViewContext& context, const RECT& placement)
{
    m_context = context;
    const HWND parent = context.parent ? context.parent->GetSafeHwnd() : nullptr;
    if (!Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                0, placement, parent, page::kTreeViewId))
        return false;
    SetItemHeight(context.scale(kRowHeight));
    m_scrollHook.HookWindow(m_hWnd);
    m_scrollHook.SetDpi(context.scale.Dpi());
    const EntryList entries = context.EntriesOf(kView);
    CreateImageList(static_cast<int>(entries.size()));
    Fill(entries, context.SelectionToRestore(kView));
    SetFocus();
    return true;
}

void CTreeCtrlCategory::CreateImageList(int entries)
{
    const int size = m_context.scale.ImageSize(page::kTreeIconSize);
    m_imageList.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, entries + 10);
    SetImageList(m_imageList.GetSafeHandle());
    folder_images::AddStrip(m_imageList, false);
    folder_images::AddStrip(m_imageList, true);
    m_nFolderImages = m_imageList.GetImageCount();
}

void CTreeCtrlCategory::ChangeDpi(const win::DpiScale& scale, HFONT font)
{
    m_context.scale = scale;
    SetFont(font, false);
    SetItemHeight(scale(kRowHeight));
    m_scrollHook.SetDpi(scale.Dpi());
    RebuildImageList();
    Invalidate(true);
}

void CTreeCtrlCategory::RebuildImageList()
{
    const int size = m_context.scale.ImageSize(page::kTreeIconSize);
    win::ImageList images;
    if (!images.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, m_imageList.GetImageCount() + 10))
        return;
    folder_images::AddStrip(images, false);
    folder_images::AddStrip(images, true);
    // The nodes keep the folders' numbers: the folders first, whatever could be had of them.
    images.SetImageCount(m_nFolderImages);
    SetImageList(images.GetSafeHandle());
    m_imageList = std::move(images);
    m_images.Forget(m_imageList, m_nFolderImages);
    // Each application node asks again, at the new size, when it is next drawn.
    for (HTREEITEM category = GetRootItem(); category; category = GetNextSiblingItem(category)) {
        for (HTREEITEM node = GetChildItem(category); node; node = GetNextSiblingItem(node))
            SetItemImage(node, I_IMAGECALLBACK, I_IMAGECALLBACK);
    }
}

void CTreeCtrlCategory::Fill(const EntryList& entries, const std::wstring& wanted)
{
    m_unfilled.clear();
    if (entries.empty())
        return;  // no nodes at all, not even categories

    // Each category's applications in the shown order; the last entry named `wanted` is selected.
    std::vector<EntryList> byCaption(kCategoryCaptionCount);
    const CAppInfo* match = nullptr;
    for (CAppInfo* entry : entries) {
        if (!entry)
            continue;
        byCaption[CaptionPositionOf(entry->m_nCategory)].push_back(entry);
        if (!wanted.empty() && entry->m_strId == wanted)
            match = entry;
    }
    // Categories without applications are not shown; the rest keep their order. A category's
    // applications come in when it is first opened or selected.
    HTREEITEM matchCategory = nullptr;
    for (int position = 0; position < kCategoryCaptionCount; ++position) {
        EntryList& applications = byCaption[position];
        if (applications.empty())
            continue;
        std::stable_sort(applications.begin(), applications.end(), &ShownBefore);
        HTREEITEM node = InsertItem(m_categoryNames.Caption(position), kClosedFolderImage, kClosedFolderImage, position);
        if (!node)
            continue;
        SetHasChildren(node);
        if (match && std::find(applications.begin(), applications.end(), match) != applications.end())
            matchCategory = node;
        m_unfilled[node] = std::move(applications);
    }
    if (matchCategory) {
        if (HTREEITEM node = FillCategory(matchCategory, match)) {
            SelectItem(node);  // reported to the owner like a user's selection
            EnsureVisible(node);
        }
    }
}

HTREEITEM CTreeCtrlCategory::FillCategory(HTREEITEM category, const CAppInfo* wanted)
{
    HTREEITEM wantedNode = nullptr;
    auto found = m_unfilled.find(category);
    if (found == m_unfilled.end()) {
        for (HTREEITEM node = wanted ? GetChildItem(category) : nullptr; node; node = GetNextSiblingItem(node)) {
            if (EntryOf(node) == wanted)
                wantedNode = node;
        }
        return wantedNode;
    }
    const EntryList applications = std::move(found->second);
    m_unfilled.erase(found);
    for (CAppInfo* entry : applications) {
        // The icon is asked for when the node is first drawn (TVN_GETDISPINFO).
        HTREEITEM node = InsertItem(entry->m_strAppName, I_IMAGECALLBACK, I_IMAGECALLBACK,
                                    reinterpret_cast<LPARAM>(entry), category);
        if (node && entry == wanted)
            wantedNode = node;
    }
    return wantedNode;
}

bool CTreeCtrlCategory::RefreshView(const EntryList& entries)
{
    if (!m_hWnd)
        return false;
    m_beforeSearch.reset();
    m_images.Forget(m_imageList, m_nFolderImages);  // the entries' icons are made afresh, the folders stay
    Refill(entries, std::wstring());
    return true;
}

void CTreeCtrlCategory::Refill(const EntryList& entries, const std::wstring& wanted)
{
    m_bRefilling = true;
    m_unfilled.clear();
    DeleteItem(TVI_ROOT);
    Fill(entries, wanted);
    m_bRefilling = false;
}

void CTreeCtrlCategory::ShowMatches(const EntryList& matches)
{
    if (!m_hWnd)
        return;
    if (!m_beforeSearch)
        m_beforeSearch = WhatIsShown();
    const CAppInfo* selected = SelectedEntry();
    const win::RedrawLock noRedraw(m_hWnd);
    Refill(matches, selected ? selected->m_strId : std::wstring());
    m_bRefilling = true;
    for (HTREEITEM category = GetRootItem(); category; category = GetNextSiblingItem(category)) {
        FillCategory(category);  // an expansion by message need not announce itself
        Expand(category, TVE_EXPAND);
        SetFolderImage(category, true);
    }
    m_bRefilling = false;
    SetFirstVisible(GetRootItem());
    if (HTREEITEM kept = GetSelectedItem())
        EnsureVisible(kept);
    Invalidate(true);
}

void CTreeCtrlCategory::EndSearch(const EntryList& entries)
{
    if (!m_hWnd || !m_beforeSearch)
        return;
    const Shown shown = *m_beforeSearch;
    m_beforeSearch.reset();
    const win::RedrawLock noRedraw(m_hWnd);
    Refill(entries, std::wstring());
    m_bRefilling = true;
    ShowAgain(shown);
    m_bRefilling = false;
    Invalidate(true);
}

bool CTreeCtrlCategory::SelectFirstEntry()
{
    const HTREEITEM first = GetChildItem(GetRootItem());
    if (!first)
        return false;
    SelectItem(first);  // reported to the owner like a user's selection
    EnsureVisible(first);
    m_context.ReportSelection(EntryOf(first));  // also when it was selected already
    return true;
}

CTreeCtrlCategory::NodeKey CTreeCtrlCategory::KeyOf(HTREEITEM node) const
{
    NodeKey key;
    if (IsApplication(node))
        key.entry = EntryOf(node);
    else if (node)
        key.category = static_cast<int>(GetItemData(node));
    return key;
}

HTREEITEM CTreeCtrlCategory::NodeOf(const NodeKey& key)
{
    for (HTREEITEM category = GetRootItem(); category; category = GetNextSiblingItem(category)) {
        if (!key.entry) {
            if (key.category >= 0 && static_cast<int>(GetItemData(category)) == key.category)
                return category;
            continue;
        }
        if (const auto unfilled = m_unfilled.find(category); unfilled != m_unfilled.end()) {
            const EntryList& applications = unfilled->second;
            if (std::find(applications.begin(), applications.end(), key.entry) != applications.end())
                return FillCategory(category, key.entry);
            continue;
        }
        for (HTREEITEM node = GetChildItem(category); node; node = GetNextSiblingItem(node)) {
            if (EntryOf(node) == key.entry)
                return node;
        }
    }
    return nullptr;
}

CTreeCtrlCategory::Shown CTreeCtrlCategory::WhatIsShown() const
{
    Shown shown;
    shown.selected = KeyOf(GetSelectedItem());
    shown.top = KeyOf(GetFirstVisibleItem());
    for (HTREEITEM category = GetRootItem(); category; category = GetNextSiblingItem(category)) {
        if (IsExpanded(category))
            shown.openCategories.push_back(static_cast<int>(GetItemData(category)));
    }
    return shown;
}

void CTreeCtrlCategory::ShowAgain(const Shown& shown)
{
    for (int number : shown.openCategories) {
        NodeKey key;
        key.category = number;
        if (HTREEITEM category = NodeOf(key)) {
            FillCategory(category);
            Expand(category, TVE_EXPAND);
            SetFolderImage(category, true);
        }
    }
    if (HTREEITEM selected = NodeOf(shown.selected))
        SelectItem(selected);
    if (HTREEITEM top = NodeOf(shown.top))
        SetFirstVisible(top);
}

void CTreeCtrlCategory::SetFolderImage(HTREEITEM category, bool open) const
{
    const int image = open ? kOpenFolderImage : kClosedFolderImage;
    SetItemImage(category, image, image);
}

bool CTreeCtrlCategory::ShowView(bool show)
{
    ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (show) {
        if (HTREEITEM selected = GetSelectedItem())
            EnsureVisible(selected);
        if (CAppInfo* entry = SelectedEntry())
            m_context.ReportSelection(entry);
    }
    return true;
}

void CTreeCtrlCategory::MoveView(const RECT& placement, int grow)
{
    view::Move(m_hWnd, placement, grow);
}

CAppInfo* CTreeCtrlCategory::EntryAt(POINT screen) const
{
    return ApplicationOf(NodeAt(screen));
}

bool CTreeCtrlCategory::PreTranslateMessage(MSG* msg)
{
    if (win::KeyEvent::FromMessage(*msg).Is(VK_RETURN)) {
        // Without a selection the test looks at the first root node (an empty tree opens).
        HTREEITEM selected = GetSelectedItem();
        if (!ItemHasChildren(selected ? selected : GetRootItem())) {
            m_context.Request(EntryCommand::Open, SelectedEntry());
            return true;
        }
    }
    return win::TreeCtrl::PreTranslateMessage(msg);
}

bool CTreeCtrlCategory::OnCommand(UINT id, UINT code, HWND source)
{
    EntryCommand command = EntryCommand::Open;
    if (view::MenuCommand(id, command))
        m_context.Request(command, m_pMenuEntry);
    return win::TreeCtrl::OnCommand(id, code, source);
}

bool CTreeCtrlCategory::OnSelChanged(HTREEITEM newItem, HTREEITEM, LRESULT&)
{
    if (m_bRefilling)
        return true;
    if (IsApplication(newItem)) {
        m_context.ReportSelection(EntryOf(newItem));
    } else {
        if (newItem)
            FillCategory(newItem);
        ClearTreeSelectedApp();
        m_context.ReportSelection(nullptr);
    }
    return true;
}

bool CTreeCtrlCategory::OnItemExpanding(HTREEITEM item, UINT action, LRESULT& result)
{
    if (action & TVE_EXPAND)
        FillCategory(item);
    result = FALSE;  // it opens
    return true;
}

bool CTreeCtrlCategory::OnGetDispInfo(TVITEMW& item, LRESULT& result)
{
    result = 0;
    if (!(item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)))
        return false;
    // An application's icon is made when its node is first drawn, and kept in the node.
    CAppInfo* entry = EntryOf(item.hItem);
    const int slot = entry ? m_images.SlotOf(m_imageList, *entry, m_context) : -1;
    const int image = slot >= 0 ? slot : I_IMAGENONE;
    item.iImage = image;
    item.iSelectedImage = image;
    item.mask |= TVIF_DI_SETITEM;
    return true;
}

bool CTreeCtrlCategory::OnItemExpanded(HTREEITEM item, UINT action, LRESULT&)
{
    if (action == TVE_EXPAND || action == TVE_COLLAPSE)
        SetFolderImage(item, action == TVE_EXPAND);
    // The stored selection names what the user last picked, not a tree opened since (a search
    // opening its categories is not the user).
    if (!m_bRefilling)
        ClearTreeSelectedApp();
    return true;
}

HTREEITEM CTreeCtrlCategory::NodeAt(POINT screen) const
{
    ::ScreenToClient(m_hWnd, &screen);
    return HitTest(screen);
}

HTREEITEM CTreeCtrlCategory::NodeUnderPointer() const
{
    POINT pointer{};
    ::GetCursorPos(&pointer);
    return NodeAt(pointer);
}

bool CTreeCtrlCategory::OnDblClk(LRESULT& result)
{
    HTREEITEM node = NodeUnderPointer();
    if (node && node == GetSelectedItem() && IsApplication(node))
        m_context.Request(EntryCommand::Open, EntryOf(node));
    result = 0;  // the control still toggles a category
    return true;
}

bool CTreeCtrlCategory::OnRClick(LRESULT& result)
{
    result = 0;
    HTREEITEM node = NodeUnderPointer();
    if (!node)
        return true;
    SelectItem(node);
    if (IsApplication(node)) {
        m_pMenuEntry = EntryOf(node);
        view::ShowEntryMenu(m_hWnd, *m_pMenuEntry);
    }
    return true;
}

bool CTreeCtrlCategory::OnReturn(LRESULT& result)
{
    m_context.Request(EntryCommand::Open, SelectedEntry());
    result = 0;
    return true;
}

bool CTreeCtrlCategory::OnKeyDown(WORD, LRESULT& result)
{
    result = 0;  // the control keeps its own keys, the search by typed letters included
    return true;
}
