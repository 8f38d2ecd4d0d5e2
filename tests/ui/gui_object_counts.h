// Counts of this process's GDI and USER objects that also work under Wine, whose
// GetGuiResources always answers 0.
#pragma once

struct GuiObjectCounts {
    long gdi = 0;
    long user = 0;
};

// Where GetGuiResources answers, its counts; otherwise the live entries of the process's GDI
// handle table, and this process's live window, menu and icon handles (takes about a second).
GuiObjectCounts CountGuiObjects();
