// Splits a command line into parameters by the platform's argument rules.
#pragma once
#include <string>
#include <vector>

// The parameters of a full command line (as GetCommandLineW gives it), without the program
// name. Blanks and tabs separate; double quotes group; 2n backslashes before a quote give n
// backslashes and the quote groups, 2n+1 give n backslashes and a literal quote; inside a
// group, a doubled quote gives a literal quote. The program name ends at the first blank
// unless quoted, and inside it neither backslashes nor doubled quotes are special.
std::vector<std::wstring> SplitCommandLineParameters(const std::wstring& commandLine);
