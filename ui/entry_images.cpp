#include "ui/entry_images.h"

#include "catalog/app_info.h"
#include "win/handles.h"

int EntryImages::SlotOf(const win::ImageList& images, CAppInfo& entry)
{
    const auto known = m_slots.find(&entry);
    if (known != m_slots.end())
        return known->second;
    win::UniqueIcon icon(entry.CreateAppIcon(images.GetIconSize()));
    const int slot = icon ? images.AddIcon(icon.get()) : -1;
    m_slots.emplace(&entry, slot);  // an entry without an icon is not asked again
    return slot;
}

void EntryImages::Remake(const win::ImageList& images) const
{
    const int size = images.GetIconSize();
    for (const auto& [entry, slot] : m_slots) {
        if (slot < 0)
            continue;
        win::UniqueIcon icon(entry->CreateAppIcon(size));
        if (icon)
            images.ReplaceIcon(slot, icon.get());
    }
}

void EntryImages::Forget(const win::ImageList& images, int keep)
{
    images.SetImageCount(keep);
    m_slots.clear();
}
