// Each entry's icon in a view's image list, made the first time a row or node of the entry is
// drawn and kept in its slot while the view is filled again: a search refills a view at every
// keystroke, and an icon costs a file read.
#pragma once
#include "win/controls.h"

#include <unordered_map>

class CAppInfo;
struct ViewContext;

class EntryImages {
public:
    // The slot of the entry's icon in `images` (made by the context at the list's size and
    // appended the first time); -1 when none can be made.
    int SlotOf(const win::ImageList& images, CAppInfo& entry, const ViewContext& context);
    // The view's image list was emptied down to `keep` images (a refresh makes every icon
    // afresh, another DPI asks for other sizes): the slots known are gone.
    void Forget(const win::ImageList& images, int keep);

private:
    std::unordered_map<CAppInfo*, int> m_slots;
};
