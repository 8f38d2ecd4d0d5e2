#include "catalog/check_function.h"
#include "catalog/registry_reference.h"
#include "win/handles.h"
#include "catalog/text_fields.h"

#include <windows.h>

#include <vector>

using CheckFunction = int (*)(int, int);

#if defined(__i386__)
// A callee-cleaned (stdcall) function pops its own arguments, a caller-cleaned one does not.
// The thunk keeps the stack pointer in EBP across the call and restores it, so either works.
extern "C" int BrindleCallWithTwoInts(CheckFunction function, int first, int second);
asm(".text\n"
    ".globl _BrindleCallWithTwoInts\n"
    ".def _BrindleCallWithTwoInts; .scl 2; .type 32; .endef\n"
    "_BrindleCallWithTwoInts:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl 16(%ebp)\n"
    "    pushl 12(%ebp)\n"
    "    call *8(%ebp)\n"
    "    movl %ebp, %esp\n"
    "    popl %ebp\n"
    "    ret\n");
#else
// One calling convention on x86_64.
static int BrindleCallWithTwoInts(CheckFunction function, int first, int second)
{
    return function(first, second);
}
#endif

int CallCheckFunction(const std::wstring& library, const std::wstring& function, int first, int second)
{
    win::UniqueLibrary module(LoadLibraryW(library.c_str()));
    if (!module)
        return 0;
    // Exports are looked up by 8-bit name: two bytes per character plus two cover any ANSI code page.
    int capacity = static_cast<int>(function.size()) * 2 + 2;
    std::vector<char> name(static_cast<size_t>(capacity));
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, function.c_str(), -1, name.data(), capacity, nullptr, nullptr) == 0)
        return 0;
    FARPROC address = GetProcAddress(module.get(), name.data());
    if (!address)
        return 0;
    return BrindleCallWithTwoInts(reinterpret_cast<CheckFunction>(reinterpret_cast<void*>(address)), first, second);
}

int EvaluateAppCheckFunc(const std::wstring& spec)
{
    std::vector<std::wstring> fields;
    SplitCommaList(spec, fields);
    if (fields.size() != 3 && fields.size() != 4)
        return 0;
    if (IsRegistryReference(fields[0]))
        fields[0] = ResolveRegistryReference(fields[0]);
    int first = ParseLeadingInt(fields[2]);
    int second = fields.size() == 4 ? ParseLeadingInt(fields[3]) : 0;
    return CallCheckFunction(fields[0], fields[1], first, second);
}
