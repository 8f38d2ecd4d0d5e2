// How a view tells its owner, the tab control, that its selected entry changed.
#pragma once

class CAppInfo;

class IViewOwner {
public:
    // `entry` is the view's newly selected entry, or null when none is selected.
    virtual void OnSelectionChanged(CAppInfo* entry) = 0;

protected:
    ~IViewOwner() = default;
};
