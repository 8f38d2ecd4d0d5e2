// The category tree as a user reads it: its nodes, their texts, images and states, and where
// to click them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// The tree as the user reads it.
struct Tree {
    HWND hwnd;

    HTREEITEM Next(HTREEITEM item, UINT code) const { return TreeView_GetNextItem(hwnd, item, code); }
    HTREEITEM Root() const { return TreeView_GetRoot(hwnd); }
    HTREEITEM Selected() const { return TreeView_GetSelection(hwnd); }
    std::wstring Text(HTREEITEM item) const
    {
        wchar_t text[256] = {};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = 256;
        TreeView_GetItem(hwnd, &tv);
        return text;
    }
    int Image(HTREEITEM item) const
    {
        TVITEMW tv{};
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tv.hItem = item;
        TreeView_GetItem(hwnd, &tv);
        return tv.iImage == tv.iSelectedImage ? tv.iImage : -100;
    }
    bool Expanded(HTREEITEM item) const { return (TreeView_GetItemState(hwnd, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }
    std::vector<std::wstring> Texts(HTREEITEM first) const
    {
        std::vector<std::wstring> texts;
        for (HTREEITEM item = first; item; item = Next(item, TVGN_NEXT))
            texts.push_back(Text(item));
        return texts;
    }
    HTREEITEM Find(const std::wstring& text) const
    {
        for (HTREEITEM root = Root(); root; root = Next(root, TVGN_NEXT)) {
            if (Text(root) == text)
                return root;
            for (HTREEITEM child = Next(root, TVGN_CHILD); child; child = Next(child, TVGN_NEXT))
                if (Text(child) == text)
                    return child;
        }
        return nullptr;
    }
    // A point on the node's label, in client coordinates (the node must be visible).
    POINT LabelPoint(HTREEITEM item) const
    {
        RECT rc{};
        TreeView_GetItemRect(hwnd, item, &rc, TRUE);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    // A point on the node's expand button.
    POINT ButtonPoint(HTREEITEM item) const
    {
        POINT pt = LabelPoint(item);
        for (int x = 0; x < pt.x; ++x) {
            TVHITTESTINFO hit{};
            hit.pt = POINT{x, pt.y};
            if (TreeView_HitTest(hwnd, &hit) == item && (hit.flags & TVHT_ONITEMBUTTON))
                return hit.pt;
        }
        return POINT{-1, -1};
    }
};
