/* Brindle availability checks: the function a settings application's library exports so that
   its catalogue entry is shown only on machines where the application can do its job.

   Registration (string value AppCheckFunc, with the DWORD AppCheck = 1):
       library, function, first[, second]
   Brindle loads `library`, looks up the export `function` by its plain, undecorated name and
   calls it with `first` and `second` (0 when omitted). A non-zero answer shows the entry, 0
   hides it.

   Calling convention: Brindle does not depend on who removes the arguments from the stack, so
   both 32-bit conventions work. Declare the function with BRINDLE_CHECK_CDECL (__cdecl, the
   caller cleans up: GCC and MSVC export the plain name) or BRINDLE_CHECK_STDCALL (__stdcall,
   the function cleans up: its symbol is decorated `Name@8`, so export it under the plain name
   with a .def file line `Name = Name@8`). In 64-bit builds there is only one convention.

   What a check may do: read the registry or files, ask the system about hardware (for example
   GetSystemMetrics), and answer. It runs in BrindleCheck.exe, a helper process beside
   Brindle.exe, with the hub's rights (Brindle runs as an administrator).

   What a check must not do:
   - take long: it must answer within 5 seconds, loading of the library included, or it counts
     as answering 0 and its helper process is ended;
   - show a window or a message box, or wait for the user or for another process;
   - end its process, or leave a thread of its own running: the library is loaded and unloaded
     again for every check, and a check that does either counts as answering 0;
   - keep state between calls or do heavy work in DllMain: nothing stays loaded between checks;
   - count on running alone: the checks of all entries start together, each in a helper process
     of its own while others are busy, so two checks (even of one library) may run at once;
   - write anything the user did not ask for: it runs with administrator rights. */
#ifndef BRINDLE_CHECK_H
#define BRINDLE_CHECK_H

#ifdef __cplusplus
extern "C" {
#endif

#define BRINDLE_CHECK_CDECL __cdecl
#define BRINDLE_CHECK_STDCALL __stdcall

/* The two shapes of a check function: two signed 32-bit integers in, non-zero = available. */
typedef int(BRINDLE_CHECK_CDECL* BrindleCheckCdeclFunction)(int first, int second);
typedef int(BRINDLE_CHECK_STDCALL* BrindleCheckStdcallFunction)(int first, int second);

#ifdef __cplusplus
}
#endif

#endif /* BRINDLE_CHECK_H */
