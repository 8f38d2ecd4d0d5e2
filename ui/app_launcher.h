// Starting a catalogue entry's program and opening its help through the shell. Both show the
// program's message box themselves when they cannot; neither touches the recent list.
#pragma once
#include <string>

class CAppInfo;

enum class OpenResult {
    NothingToStart,  // the path was empty once its enclosing quotation marks were gone
    Started,
    NotFound,        // the shell could not start it; "Program not found." has been shown
};

// `path` without every double quotation mark at its beginning and at its end.
std::wstring StripEnclosingQuotes(const std::wstring& path);

// Starts the entry's program with its parameters in its folder, all as stored.
OpenResult OpenApp(const CAppInfo& app);

// Opens the entry's help file: in the help viewer at its topic for help option 1, else with the
// file's associated program. A missing file shows "Help file not found."; whether the viewer or
// the program then starts is not examined.
void OpenHelp(const CAppInfo& app);
