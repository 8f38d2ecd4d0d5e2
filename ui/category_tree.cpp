#include "ui/category_tree.h"

#include "res/resource.h"
#include "ui/entry_order.h"
#include "ui/folder_images.h"
#include "ui/page_ids.h"
#include "ui/view_common.h"
#include "ui/window_state.h"
#include "win/key_event.h"

#include <utility>
#include <vector>

namespace {

// At 96 DPI.
const int kRowHeight = 22;
const int kIconSize = 16;
// Frames of the folder strips in the image list: closed (resource 141) then open (140).
const int kClosedFolderImage = 0;
const int kOpenFolderImage = 5;

// The category nodes in tree order, each with the category it names.
using CategoryNodes = std::vector<std::pair<int, HTREEITEM>>;

// The last node takes every category that no earlier node names ("Others"). Looked up here
// rather than by walking the control: each of its messages costs far more than this loop.
HTREEITEM CategoryNodeOf(const CategoryNodes& nodes, int category)
{
    if (nodes.empty())
        return nullptr;
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
        if (nodes[i].first == category)
            return nodes[i].second;
    }
    return nodes.back().second;
}

// The order every view shows entries in (application nodes carry their entry as item data).
int CALLBACK CompareApplications(LPARAM a, LPARAM b, LPARAM)
{
    return CompareInShownOrder(*reinterpret_cast<const CAppInfo*>(a), *reinterpret_cast<const CAppInfo*>(b));
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
    const int size = m_context.scale.ImageSize(kIconSize);
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
    const int size = m_context.scale.ImageSize(kIconSize);
    win::ImageList images;
    if (!images.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, m_imageList.GetImageCount() + 10))
        return;
    folder_images::AddStrip(images, false);
    folder_images::AddStrip(images, true);
    // The nodes keep their image numbers: the folders first, whatever could be had of them.
    images.SetImageCount(m_nFolderImages);
    images.SetImageCount(m_imageList.GetImageCount());
    for (HTREEITEM category = GetRootItem(); category; category = GetNextSiblingItem(category)) {
        for (HTREEITEM node = GetChildItem(category); node; node = GetNextSiblingItem(node)) {
            const int image = GetItemImage(node);
            CAppInfo* entry = EntryOf(node);
            if (image < m_nFolderImages || !entry)
                continue;
            win::UniqueIcon icon(entry->CreateAppIcon(size));
            if (icon)
                images.ReplaceIcon(image, icon.get());
        }
    }
    SetImageList(images.GetSafeHandle());
    m_imageList = std::move(images);
}

void CTreeCtrlCategory::Fill(const EntryList& entries, const std::wstring& wanted)
{
    if (entries.empty())
        return;  // no nodes at all, not even categories

    CategoryNodes categories;
    for (int position = 0; position < kCategoryCaptionCount; ++position) {
        const std::wstring caption = m_categoryNames.Caption(position);
        if (HTREEITEM node = InsertItem(caption, kClosedFolderImage, kClosedFolderImage, position))
            categories.emplace_back(position, node);
    }

    for (CAppInfo* entry : entries) {
        if (!entry)
            continue;
        win::UniqueIcon icon(entry->CreateAppIcon(m_context.scale.ImageSize(kIconSize)));
        const int image = icon ? m_imageList.AddIcon(icon.get()) : -1;
        icon.reset();
        HTREEITEM node = InsertItem(entry->m_strAppName, image, image, reinterpret_cast<LPARAM>(entry),
                                    CategoryNodeOf(categories, entry->m_nCategory));
        if (node && !wanted.empty() && entry->m_strId == wanted)
            SelectItem(node);  // reported to the owner like a user's selection
    }

    // Categories without applications are not shown; the rest keep their order.
    for (HTREEITEM category = GetRootItem(); category;) {
        HTREEITEM next = GetNextSiblingItem(category);
        if (!ItemHasChildren(category))
            DeleteItem(category);
        category = next;
    }
    for (HTREEITEM category = GetRootItem(); category; category = GetNextSiblingItem(category))
        SortChildren(category, &CompareApplications, 0);
    // Sorting and dropping categories moved the nodes: the selected one is brought back into view.
    if (HTREEITEM selected = GetSelectedItem())
        EnsureVisible(selected);
}

bool CTreeCtrlCategory::RefreshView(const EntryList& entries)
{
    if (!m_hWnd)
        return false;
    m_bRefilling = true;
    DeleteItem(TVI_ROOT);
    m_bRefilling = false;
    m_imageList.SetImageCount(m_nFolderImages);  // the entries' icons go, the folders stay
    Fill(entries, std::wstring());
    return true;
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
        ClearTreeSelectedApp();
        m_context.ReportSelection(nullptr);
    }
    return true;
}

bool CTreeCtrlCategory::OnItemExpanded(HTREEITEM item, UINT action, LRESULT&)
{
    if (action == TVE_EXPAND)
        SetItemImage(item, kOpenFolderImage, kOpenFolderImage);
    else if (action == TVE_COLLAPSE)
        SetItemImage(item, kClosedFolderImage, kClosedFolderImage);
    // The stored selection names what the user last picked, not a tree opened since.
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
