#include "tests/support/test_process.h"
#include "win/handles.h"
#include "app/resource_library.h"
#include "win/resource_module.h"
#include "res/resource.h"

#include <gtest/gtest.h>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

TEST(ResourceLibrary, LoadsFromProgramDirectoryAndServesItsStrings)
{
    ASSERT_TRUE(LoadResourceLibrary());
    EXPECT_NE(GetResourceModule(), GetProgramModule());
    EXPECT_EQ(LoadResString(IDS_APP_TITLE), L"Brindle");
    EXPECT_EQ(LoadResString(IDS_ERR_SYSTEM),
              L"System error has occurred. Please make sure Brindle is correctly installed.");
    EXPECT_EQ(LoadResString(1009), L"Television and Teleclick");
    EXPECT_EQ(LoadResString(12345), L"");  // an id the table lacks
    EXPECT_TRUE(LoadResourceLibrary());    // a second call keeps the first load
}

TEST(ResourceLibrary, LoadLibraryStringReadsAnyModuleAsData)
{
    std::wstring dll = TestBinDirectory() + L"QclRes.dll";
    EXPECT_EQ(LoadLibraryString(dll, IDS_TAB_RECENT), L"Recent Settings");
    EXPECT_EQ(LoadLibraryString(dll, 4242), L"");
    EXPECT_EQ(LoadLibraryString(TestBinDirectory() + L"missing.dll", IDS_TAB_RECENT), L"");
}

namespace {

// A string value of the version resource of `file`; empty when it is missing.
std::wstring VersionString(const std::wstring& file, const std::wstring& subBlock)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return std::wstring();
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        return std::wstring();
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), subBlock.c_str(), &value, &length) || !value || length == 0)
        return std::wstring();
    return std::wstring(static_cast<const wchar_t*>(value));
}

}  // namespace

TEST(ResourceLibrary, AboutTextsAreReadableFromTheProgramsVersionResource)
{
    const std::wstring exe = TestBinDirectory() + L"Brindle.exe";
    EXPECT_EQ(VersionString(exe, L"\\StringFileInfo\\000004b0\\ProductVersion"), BRINDLE_EXPECTED_VERSION);
    const std::wstring legal = VersionString(exe, L"\\StringFileInfo\\000004b0\\LegalCopyright");
    EXPECT_EQ(legal.rfind(L"Copyright", 0), 0u) << std::string(legal.begin(), legal.end());
    EXPECT_EQ(VersionString(exe, L"\\StringFileInfo\\000004b0\\NoSuchValue"), L"");
}

// One version for the program and its libraries (the packages carry it too).
TEST(ResourceLibrary, ProgramAndLibrariesCarryTheProductsNameMakerAndVersion)
{
    const struct {
        const wchar_t* file;
        const wchar_t* name;
    } files[] = {{L"Brindle.exe", L"Brindle.exe"}, {L"QclRes.dll", L"QclRes.dll"}, {L"de\\QclRes.dll", L"QclRes.dll"}};
    for (const auto& f : files) {
        const std::wstring path = TestBinDirectory() + f.file;
        SCOPED_TRACE(testing::Message() << std::string(path.begin(), path.end()));
        const std::wstring block = L"\\StringFileInfo\\000004b0\\";
        EXPECT_EQ(VersionString(path, block + L"ProductVersion"), BRINDLE_EXPECTED_VERSION);
        EXPECT_EQ(VersionString(path, block + L"FileVersion"), BRINDLE_EXPECTED_VERSION);
        EXPECT_EQ(VersionString(path, block + L"ProductName"), L"Brindle");
        EXPECT_EQ(VersionString(path, block + L"CompanyName"), L"Marbeck");
        EXPECT_EQ(VersionString(path, block + L"OriginalFilename"), f.name);
    }
}

namespace {

// An extended dialog template as stored; ordinals read as "#<number>".
struct TemplateControl {
    DWORD id = 0;
    std::wstring windowClass;
    std::wstring text;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring font;
    std::vector<TemplateControl> controls;
};

// Reads a resource front to back; never past its end (`ok` turns false instead).
class ResourceReader {
public:
    ResourceReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    bool ok() const { return m_ok; }

    template <typename T>
    T Read()
    {
        T value{};
        if (!m_ok || m_pos + sizeof(T) > m_size) {
            m_ok = false;
            return value;
        }
        memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }
    // A name or ordinal field: empty, 0xFFFF and an ordinal, or a zero-terminated text.
    std::wstring NameOrOrdinal()
    {
        const WORD first = Read<WORD>();
        if (first == 0)
            return std::wstring();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Read<WORD>());
        std::wstring text(1, static_cast<wchar_t>(first));
        for (WORD c = Read<WORD>(); m_ok && c != 0; c = Read<WORD>())
            text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    void AlignToDword() { m_pos = (m_pos + 3) & ~static_cast<size_t>(3); }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

bool ReadDialogTemplate(HMODULE module, WORD id, DialogTemplate& out)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    ResourceReader in(data, SizeofResource(module, found));
    if (in.Read<WORD>() != 1 || in.Read<WORD>() != 0xFFFF)
        return false;  // not an extended template
    in.Read<DWORD>();  // help id
    out.exStyle = in.Read<DWORD>();
    out.style = in.Read<DWORD>();
    const WORD count = in.Read<WORD>();
    out.x = in.Read<short>();
    out.y = in.Read<short>();
    out.cx = in.Read<short>();
    out.cy = in.Read<short>();
    in.NameOrOrdinal();  // menu
    in.NameOrOrdinal();  // window class
    out.caption = in.NameOrOrdinal();
    if (out.style & DS_SETFONT) {
        out.pointSize = in.Read<WORD>();
        out.weight = in.Read<WORD>();
        out.italic = in.Read<BYTE>();
        out.charset = in.Read<BYTE>();
        out.font = in.NameOrOrdinal();
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.AlignToDword();
        TemplateControl control;
        in.Read<DWORD>();  // help id
        in.Read<DWORD>();  // extended style
        control.style = in.Read<DWORD>();
        control.x = in.Read<short>();
        control.y = in.Read<short>();
        control.cx = in.Read<short>();
        control.cy = in.Read<short>();
        control.id = in.Read<DWORD>();
        control.windowClass = in.NameOrOrdinal();
        control.text = in.NameOrOrdinal();
        const WORD extra = in.Read<WORD>();
        for (WORD b = 0; b < extra; ++b)
            in.Read<BYTE>();
        out.controls.push_back(control);
    }
    return in.ok();
}

}  // namespace

// The program and both libraries carry templates 100 and 129 with the same geometry, styles and
// font; the German library's texts are its own.
TEST(ResourceLibrary, DialogTemplatesHaveTheirLayoutInLibrariesAndProgram)
{
    const struct {
        DWORD id;
        const wchar_t* windowClass;
        const wchar_t* text;  // null: a placeholder, not checked
        short x, y, cx, cy;
        DWORD style;
    } aboutControls[] = {
        {static_cast<DWORD>(-1), L"#130", L"#135", 11, 17, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON},
        {1000, L"#130", nullptr, 40, 10, 156, 8, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX},
        {1001, L"#130", nullptr, 40, 25, 119, 8, WS_CHILD | WS_VISIBLE | WS_GROUP},
        {IDOK, L"#128", L"OK", 211, 7, 50, 16, WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON},
    };
    const struct {
        const wchar_t* file;
        const wchar_t* aboutCaption;
        const wchar_t* versionLine;
    } modules[] = {
        {L"QclRes.dll", L"About Brindle", L"Brindle Version 2.0"},
        {L"Brindle.exe", L"About Brindle", L"Brindle Version 2.0"},
        {L"de\\QclRes.dll", L"Info über Brindle", L"Brindle, Version 2.0"},
    };
    for (const auto& m : modules) {
        const wchar_t* file = m.file;
        SCOPED_TRACE(testing::Message() << std::string(file, file + wcslen(file)));
        const win::UniqueLibrary module(
            LoadLibraryExW((TestBinDirectory() + file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module);

        DialogTemplate main;
        ASSERT_TRUE(ReadDialogTemplate(module.get(), IDD_MAIN, main));
        EXPECT_EQ(main.style, 0x92CE0040u);
        EXPECT_EQ(main.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
        EXPECT_EQ(main.x, 0);
        EXPECT_EQ(main.y, 0);
        EXPECT_EQ(main.cx, 186);
        EXPECT_EQ(main.cy, 90);
        EXPECT_EQ(main.caption, L"Brindle");
        EXPECT_TRUE(main.controls.empty());

        DialogTemplate about;
        ASSERT_TRUE(ReadDialogTemplate(module.get(), IDD_ABOUTBOX, about));
        EXPECT_EQ(about.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
        EXPECT_EQ(about.exStyle, 0u);
        EXPECT_EQ(about.cx, 268);
        EXPECT_EQ(about.cy, 55);
        EXPECT_EQ(about.caption, m.aboutCaption);

        for (const DialogTemplate* t : {&main, &about}) {
            EXPECT_EQ(t->font, L"Tahoma");
            EXPECT_EQ(t->pointSize, 8);
            EXPECT_EQ(t->weight, 400);
            EXPECT_EQ(t->italic, 0);
            EXPECT_EQ(t->charset, 1);
        }

        ASSERT_EQ(about.controls.size(), sizeof(aboutControls) / sizeof(aboutControls[0]));
        EXPECT_EQ(about.controls[1].text, m.versionLine);
        for (size_t i = 0; i < about.controls.size(); ++i) {
            const TemplateControl& got = about.controls[i];
            const auto& want = aboutControls[i];
            SCOPED_TRACE(testing::Message() << "control " << static_cast<int>(want.id));
            EXPECT_EQ(got.id, want.id);
            EXPECT_EQ(got.windowClass, want.windowClass);
            if (want.text) {
                EXPECT_EQ(got.text, want.text);
            }
            EXPECT_EQ(got.x, want.x);
            EXPECT_EQ(got.y, want.y);
            EXPECT_EQ(got.cx, want.cx);
            EXPECT_EQ(got.cy, want.cy);
            EXPECT_EQ(got.style, want.style);
        }
    }
}

// The tree's folder strips live in the program only: five 16 x 16 frames side by side, drawn
// on white, which the image list takes as the transparent colour.
TEST(ResourceLibrary, ProgramCarriesTheTwoFolderStripsOnWhite)
{
    const win::UniqueLibrary program(
        LoadLibraryExW((TestBinDirectory() + L"Brindle.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const win::UniqueLibrary library(
        LoadLibraryExW((TestBinDirectory() + L"QclRes.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(program);
    ASSERT_TRUE(library);
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    for (WORD id : {IDB_FOLDER_OPEN, IDB_FOLDER_CLOSED}) {
        SCOPED_TRACE(testing::Message() << "bitmap " << id);
        EXPECT_EQ(FindResourceW(library.get(), MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_BITMAP)), nullptr);
        const win::UniqueBitmap strip(static_cast<HBITMAP>(
            LoadImageW(program.get(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(strip);
        BITMAP info = {};
        ASSERT_TRUE(GetObjectW(strip.get(), sizeof(info), &info));
        EXPECT_EQ(info.bmWidth, 80);
        EXPECT_EQ(info.bmHeight, 16);
        const win::SelectedObject selected(dc, strip.get());
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "the first frame's corner is transparent";
        EXPECT_NE(GetPixel(dc, 8, 8), RGB(255, 255, 255)) << "a folder is drawn in the first frame";
    }
    DeleteDC(dc);
}
