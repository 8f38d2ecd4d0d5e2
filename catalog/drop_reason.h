// Why the loader left an entry out. The hub never shows it; the inspector prints it.
#pragma once

enum class DropReason {
    None,              // not dropped
    Hidden,            // AppHide 1
    AdminOnly,         // AppHide 2 and the user is not an administrator
    CheckFailed,       // the check function answered 0 or could not be called
    NoName,            // AppName missing (built-in items: name string missing or empty)
    BadNameReference,  // AppName is a malformed indirect reference
    NoPath,            // AppPath missing
    NoCategory,        // Category missing
    NoIcon,            // no icon at 32 pixels
    NoDescription,     // built-in items only: description string missing or empty
};

// The word the inspector prints ("hidden", "admin-only", ...); empty for None.
const char* DropReasonName(DropReason reason);
