// Runs the program's main window modally; the only place that knows which dialog that is.
#pragma once

class CHubApp;

// Returns when the dialog ends. Tells `app` the dialog's window while it exists.
void RunMainDialog(CHubApp& app);
