#include "ui/category_tree.h"

#include "res/resource.h"
#include "ui/page_ids.h"
#include "ui/view_common.h"
#include "ui/view_owner.h"
#include "ui/window_state.h"
#include "win/resource_module.h"

#include <utility>
#include <vector>

namespace {

const int kRowHeight = 22;
const int kIconSize = 16;
// Frames of the folder strips in the image list: closed (resource 141) then open (140).
const int kClosedFolderImage = 0;
const int kOpenFolderImage = 5;
const COLORREF kStripTransparent = RGB(255, 255, 255);

void AddStrip(const win::ImageList& list, UINT bitmapId)
{
    win::UniqueBitmap strip(::LoadBitmapW(GetProgramModule(), MAKEINTRESOURCEW(bitmapId)));
    if (strip)
        list.AddMasked(strip.get(), kStripTransparent);
}

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

}  // namespace

bool CTreeCtrlCategory::InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink,
                                 const StartRequest& start)
{
    m_pOwner = &sink;
    Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0,
           view::Placement(ownerClient), owner.GetSafeHwnd(), page::kTreeViewId);
    SetItemHeight(kRowHeight);
    m_scrollHook.HookWindow(m_hWnd);
    CreateImageList();
    Fill(start);
    SetFocus();
    return true;
}

void CTreeCtrlCategory::CreateImageList()
{
    const int entries = m_pAppList ? static_cast<int>(m_pAppList->size()) : 0;
    m_imageList.Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 1, entries + 10);
    SetImageList(m_imageList.GetSafeHandle());
    AddStrip(m_imageList, IDB_FOLDER_CLOSED);
    AddStrip(m_imageList, IDB_FOLDER_OPEN);
}

void CTreeCtrlCategory::Fill(const StartRequest& start)
{
    if (!m_pAppList || m_pAppList->empty())
        return;  // no nodes at all, not even categories

    CategoryNodes categories;
    for (int position = 0; position < kCategoryCaptionCount; ++position) {
        const std::wstring caption = m_categoryNames.Caption(position);
        if (HTREEITEM node = InsertItem(caption, kClosedFolderImage, kClosedFolderImage, position))
            categories.emplace_back(position, node);
    }

    // A requested application wins over the stored selection only when it asks for this view.
    const std::wstring wanted =
        !start.name.empty() && start.tab == page::IndexOf(page::View::Tree) ? start.name : LoadSelectedApp(0);

    for (const auto& entry : *m_pAppList) {
        win::UniqueIcon icon(entry->CreateAppIcon(kIconSize));
        const int image = icon ? m_imageList.AddIcon(icon.get()) : -1;
        icon.reset();
        HTREEITEM node = InsertItem(entry->m_strAppName, image, image, reinterpret_cast<LPARAM>(entry.get()),
                                    CategoryNodeOf(categories, entry->m_nCategory));
        if (node && entry->m_strId == wanted)
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
        SortChildren(category);
}

bool CTreeCtrlCategory::ShowView(bool show)
{
    ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (show) {
        HTREEITEM selected = GetSelectedItem();
        if (IsApplication(selected))
            m_pOwner->OnSelectionChanged(EntryOf(selected));
    }
    return true;
}

void CTreeCtrlCategory::MoveView(const RECT& ownerClient, int grow)
{
    view::Move(m_hWnd, ownerClient, grow);
}

bool CTreeCtrlCategory::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        // Without a selection the test looks at the first root node (an empty tree opens).
        HTREEITEM selected = GetSelectedItem();
        if (!ItemHasChildren(selected ? selected : GetRootItem())) {
            OnCommand(page::kMenuOpenCommand, 0, nullptr);
            return true;
        }
    }
    return win::TreeCtrl::PreTranslateMessage(msg);
}

bool CTreeCtrlCategory::OnCommand(UINT id, UINT code, HWND source)
{
    view::TranslateCommand(m_hWnd, id);
    return win::TreeCtrl::OnCommand(id, code, source);
}

bool CTreeCtrlCategory::OnSelChanged(HTREEITEM newItem, HTREEITEM, LRESULT&)
{
    if (IsApplication(newItem)) {
        m_pOwner->OnSelectionChanged(EntryOf(newItem));
    } else {
        ClearTreeSelectedApp();
        m_pOwner->OnSelectionChanged(nullptr);
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

HTREEITEM CTreeCtrlCategory::NodeUnderPointer() const
{
    POINT pointer{};
    ::GetCursorPos(&pointer);
    ::ScreenToClient(m_hWnd, &pointer);
    return HitTest(pointer);
}

bool CTreeCtrlCategory::OnDblClk(LRESULT& result)
{
    HTREEITEM node = NodeUnderPointer();
    if (node && node == GetSelectedItem() && IsApplication(node))
        view::PostOpen(m_hWnd);
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
    if (IsApplication(node))
        view::ShowEntryMenu(m_hWnd, *EntryOf(node));
    return true;
}

bool CTreeCtrlCategory::OnReturn(LRESULT& result)
{
    OnCommand(page::kMenuOpenCommand, 0, nullptr);
    result = 0;
    return true;
}

bool CTreeCtrlCategory::OnKeyDown(WORD, LRESULT& result)
{
    result = 0;  // the control keeps its own keys, the search by typed letters included
    return true;
}
