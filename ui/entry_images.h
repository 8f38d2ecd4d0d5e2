// Each entry's icon in a view's image list, made the first time the view lists the entry and kept
// in its slot while the view is filled again: a search refills a view at every keystroke, and an
// icon costs a file read.
#pragma once
#include "win/controls.h"

#include <unordered_map>

class CAppInfo;

class EntryImages {
public:
    // The slot of the entry's icon in `images` (made at the list's size and appended the first
    // time); -1 when none can be made.
    int SlotOf(const win::ImageList& images, CAppInfo& entry);
    // Puts each known entry's icon, made at the size of `images`, into the slot it has: for a list
    // made for another DPI with as many slots as the one it replaces.
    void Remake(const win::ImageList& images) const;
    // The view's image list was emptied down to `keep` images (a refresh makes every icon
    // afresh): the slots known are gone.
    void Forget(const win::ImageList& images, int keep);

private:
    std::unordered_map<CAppInfo*, int> m_slots;
};
