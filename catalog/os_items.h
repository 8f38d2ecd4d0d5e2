// The built-in control-panel items offered through the OSItems mask.
#pragma once
#include "catalog/category_model.h"

struct OsItemRow {
    const wchar_t* controlPanelArgument;  // handed to the control-panel runner, exactly as written
    const wchar_t* resourceFile;          // in system32: holds the name, description and icon
    unsigned int nameId;
    unsigned int descriptionId;
    int iconId;
    int category;
};

constexpr int kOsItemCount = 9;
extern const OsItemRow kOsItems[kOsItemCount];
