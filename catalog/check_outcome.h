// How one availability check ended, for the inspector's report.
#pragma once

enum class CheckOutcome {
    NotRun,       // no check was asked for
    Passed,       // the function answered non-zero
    BadFields,    // the text does not have 3 or 4 fields
    NoLibrary,    // the library could not be loaded
    NoFunction,   // the library does not export the function (or its name cannot be converted)
    AnsweredZero, // the function answered 0
    Crashed,      // the check raised an exception or left a thread behind in its unloaded library
    TimedOut,     // the check did not answer within the time limit
    Exited,       // the check ended the helper process
    NoHelper,     // the helper program could not be started
    Cancelled,    // cut short: the hub was asked to close while the check ran or waited
};

// The word the inspector prints ("answered-0", "crashed", ...); empty for NotRun.
const char* CheckOutcomeName(CheckOutcome outcome);
