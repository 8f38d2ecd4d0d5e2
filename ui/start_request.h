// What the command line asked the window to show first; handed down from start-up so that the
// page never reaches up to the application object.
#pragma once
#include <string>

struct StartRequest {
    std::wstring name;  // entry id to select first; empty = none
    int tab = -1;       // view to show first (0, 1, 2); -1 = none
};
