#include "ui/entry_images.h"

#include "ui/page_view.h"
#include "win/handles.h"

int EntryImages::SlotOf(const win::ImageList& images, CAppInfo& entry, const ViewContext& context)
{
    const auto known = m_slots.find(&entry);
    if (known != m_slots.end())
        return known->second;
    win::UniqueIcon icon(context.Icon(entry, images.GetIconSize()));
    const int slot = icon ? images.AddIcon(icon.get()) : -1;
    m_slots.emplace(&entry, slot);  // an entry without an icon is not asked again
    return slot;
}

void EntryImages::Forget(const win::ImageList& images, int keep)
{
    images.SetImageCount(keep);
    m_slots.clear();
}
