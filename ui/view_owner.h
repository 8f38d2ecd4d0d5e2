// How a view tells its owner, the tab control, what happens to it: its selected entry changed,
// or the user asked to open an entry or its help.
#pragma once

class CAppInfo;

// What a user can ask of one entry: start it, or open its help.
enum class EntryCommand { Open, Help };

class IViewOwner {
public:
    // `entry` is the view's newly selected entry, or null when none is selected.
    virtual void OnSelectionChanged(CAppInfo* entry) = 0;
    // The user asked for `command` (a double-click, Enter or the context menu) on `entry`, the
    // entry it was asked for; null when the view had none at hand.
    virtual void OnEntryCommand(EntryCommand command, CAppInfo* entry) = 0;

protected:
    ~IViewOwner() = default;
};
