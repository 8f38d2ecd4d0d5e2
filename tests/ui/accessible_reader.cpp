// Reads a window's client object through the accessibility interface from outside its process,
// as a screen reader does, for tests/ui/accessibility_test.cpp.
// Usage: accessible_reader.exe HWND OUTPUT_FILE
// Writes one line per item, the window itself first: "item|role|name" (UTF-8).
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Utf8(const wchar_t* text)
{
    if (!text)
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    return out;
}

void WriteItem(FILE* out, IAccessible* object, long item)
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = item;
    BSTR name = nullptr;
    object->get_accName(child, &name);
    VARIANT role;
    VariantInit(&role);
    object->get_accRole(child, &role);
    std::fprintf(out, "%ld|%ld|%s\n", item, role.vt == VT_I4 ? role.lVal : -1L, Utf8(name).c_str());
    SysFreeString(name);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoul(argv[1], nullptr, 10)));
    FILE* out = _wfopen(argv[2], L"w");
    if (!out)
        return 3;
    CoInitialize(nullptr);
    IAccessible* object = nullptr;
    int result = 4;
    if (SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))) &&
        object) {
        long count = 0;
        object->get_accChildCount(&count);
        for (long item = 0; item <= count; ++item)
            WriteItem(out, object, item);
        object->Release();
        result = 0;
    }
    std::fclose(out);
    CoUninitialize();
    return result;
}
