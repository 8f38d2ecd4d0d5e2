// BrindleCatalog.exe: loads the catalogue exactly as the hub does and tells why entries are missing.
//   BrindleCatalog            one tab-separated line per entry, then "N shown, M dropped"
//   BrindleCatalog --json     the same as a JSON array with every field of each entry
//   BrindleCatalog --icons D  also writes D\<id>.ico with the 16 and 32 pixel icons of each shown entry
//   BrindleCatalog --reg F..  the same for registration files, loaded into a private stand-in key
#include "catalog/catalog_builder.h"
#include "catalog/check_outcome.h"
#include "tools/catalog_report.h"
#include "tools/icon_file_writer.h"
#include "tools/reg_file.h"
#include "tools/registration_warnings.h"
#include "tools/scratch_machine_key.h"
#include "win/handles.h"
#include "tools/text_encoding.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// Straight to the handle, no buffer of our own: once written, a line survives whatever happens
// to this process. (No FlushFileBuffers: on a pipe it would wait for the reader.)
void Write(HANDLE out, const std::string& text)
{
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

const char kUsage[] =
    "Usage: BrindleCatalog [--json] [--icons DIR] [--reg FILE.reg...]\n"
    "Lists every registered settings application and built-in item as the hub loads them:\n"
    "id, shown or dropped:<reason>, category number, display name.\n"
    "  --json        print a JSON array with every field of each entry instead\n"
    "  --icons DIR   write DIR\\<id>.ico with the 16 and 32 pixel icons of every shown entry\n"
    "  --reg FILE... list the entries of registration files instead of the installed catalogue, with\n"
    "                a warning line for each problem only a file shows; exit code 0 when every entry\n"
    "                is shown without warnings, 1 otherwise, 2 when a file cannot be read\n"
    "Every name, description and icon is read afresh from its file: the hub's start-up cache is\n"
    "neither read nor written, so what is listed is what the files hold now.\n";

struct Options {
    bool json = false;
    bool help = false;
    std::wstring iconDirectory;
    std::vector<std::wstring> regFiles;
    bool valid = true;
};

Options ParseOptions(int argc, wchar_t** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg == L"--json")
            options.json = true;
        else if (arg == L"--icons" && i + 1 < argc && argv[i + 1][0] != 0)
            options.iconDirectory = argv[++i];
        else if (arg == L"--reg" && i + 1 < argc) {
            while (i + 1 < argc && wcsncmp(argv[i + 1], L"--", 2) != 0)
                options.regFiles.push_back(argv[++i]);
            options.valid = options.valid && !options.regFiles.empty();
        } else if (arg == L"--help" || arg == L"-h" || arg == L"/?")
            options.help = true;
        else
            options.valid = false;
    }
    return options;
}

// UTF-8 on the console while the inspector runs. The console is the caller's (cmd.exe keeps
// it after we exit), so its code page is given back at the end.
class Utf8Console {
public:
    Utf8Console() : previous_(GetConsoleOutputCP())  // 0: there is no console
    {
        if (previous_)
            SetConsoleOutputCP(CP_UTF8);
    }
    ~Utf8Console()
    {
        if (previous_)
            SetConsoleOutputCP(previous_);
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    UINT previous_;
};

// Writes each entry the moment it is decided, so whatever happens later the lines so far are out.
// With `warnings`, each registered entry's line is followed by one "id: problem" line per
// problem of its registration (on `warnings` itself in JSON mode, to keep the array intact).
class Reporter : public ICatalogObserver {
public:
    Reporter(HANDLE out, bool json, HANDLE warnings = nullptr) : out_(out), warningsOut_(warnings), json_(json)
    {
        if (json_)
            Write(out_, "[");
    }
    void OnEntry(const CAppInfo& entry, bool builtIn, DropReason reason, CheckOutcome check) override
    {
        if (json_)
            Write(out_, (shown_ + dropped_ == 0 ? "\n  " : ",\n  ") + ReportJson(entry, builtIn, reason, check));
        else
            Write(out_, ReportLine(entry, builtIn, reason) + "\n");
        ++(reason == DropReason::None ? shown_ : dropped_);
        if (warningsOut_ && !builtIn) {
            for (const std::string& warning : RegistrationWarnings(entry.m_strId)) {
                Write(json_ ? warningsOut_ : out_, Utf8FromUtf16(entry.m_strId) + ": " + warning + "\n");
                ++warnings_;
            }
        }
    }
    // Whether every entry was shown and nothing was warned about.
    bool AllClean() const { return dropped_ == 0 && warnings_ == 0; }
    void Finish() const
    {
        if (json_)
            Write(out_, shown_ + dropped_ == 0 ? "]\n" : "\n]\n");
        else
            Write(out_, std::to_string(shown_) + " shown, " + std::to_string(dropped_) + " dropped\n");
    }

private:
    HANDLE out_;
    HANDLE warningsOut_;
    bool json_;
    int shown_ = 0;
    int dropped_ = 0;
    int warnings_ = 0;
};

// The icons the hub's views would show, one .ico per entry. False when any file failed.
bool WriteIcons(const std::vector<std::unique_ptr<CAppInfo>>& catalog, std::wstring directory, HANDLE errors)
{
    if (directory.back() != L'\\' && directory.back() != L'/')
        directory += L'\\';
    CreateDirectoryW(directory.c_str(), nullptr);
    bool ok = true;
    for (const auto& entry : catalog) {
        win::UniqueIcon small(entry->CreateAppIcon(16));
        win::UniqueIcon large(entry->CreateAppIcon(32));
        std::wstring path = directory + IconFileName(entry->m_strId);
        if (!WriteIconFile({small.get(), large.get()}, path)) {
            Write(errors, "cannot write icons of " + Utf8FromUtf16(entry->m_strId) + " to " + Utf8FromUtf16(path) + "\n");
            ok = false;
        }
    }
    return ok;
}

// Loads every file that parses into HKEY_LOCAL_MACHINE (the stand-in); a file with a line it
// cannot read is reported and contributes nothing. False when any file could not be loaded.
bool LoadRegFiles(const std::vector<std::wstring>& files, HANDLE errors)
{
    bool allLoaded = true;
    for (const std::wstring& file : files) {
        std::vector<RegFileKey> keys;
        RegFileError error;
        std::string name = Utf8FromUtf16(file);
        if (!ReadRegFile(file, keys, error)) {
            Write(errors, "error: " + name + (error.line ? ", line " + std::to_string(error.line) : std::string()) +
                              ": " + error.message + "; nothing loaded from this file\n");
            allLoaded = false;
            continue;
        }
        std::vector<int> skipped;
        if (!LoadIntoMachineKey(keys, skipped)) {
            Write(errors, "error: " + name + ": the registry refused a key or value\n");
            allLoaded = false;
        }
        for (int line : skipped)
            Write(errors, "note: " + name + ", line " + std::to_string(line) +
                              ": not loaded, only keys under HKEY_LOCAL_MACHINE are\n");
    }
    return allLoaded;
}

// The catalogue the files describe, listed as the installed one is, with their warnings.
int ReportRegFiles(const Options& options, HANDLE out)
{
    HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    ScratchMachineKey scratch;
    if (!scratch.ok()) {
        Write(errors, "error: cannot set up a private registry key to load the files into\n");
        return 2;
    }
    bool loaded = LoadRegFiles(options.regFiles, errors);
    Reporter reporter(out, options.json, errors);
    std::vector<std::unique_ptr<CAppInfo>> catalog;
    BuildCatalog(catalog, &reporter);
    reporter.Finish();
    bool iconsWritten = options.iconDirectory.empty() || WriteIcons(catalog, options.iconDirectory, errors);
    if (!loaded)
        return 2;
    return reporter.AllClean() && iconsWritten ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    Utf8Console console;
    Options options = ParseOptions(argc, argv);
    if (options.help || !options.valid) {
        Write(options.valid ? out : GetStdHandle(STD_ERROR_HANDLE), kUsage);
        return options.valid ? 0 : 2;
    }
    // A library that fails to load (icons, names) must not stop the listing with a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    if (!options.regFiles.empty())
        return ReportRegFiles(options, out);

    Reporter reporter(out, options.json);
    std::vector<std::unique_ptr<CAppInfo>> catalog;
    BuildCatalog(catalog, &reporter);
    reporter.Finish();
    if (!options.iconDirectory.empty() && !WriteIcons(catalog, options.iconDirectory, GetStdHandle(STD_ERROR_HANDLE)))
        return 1;
    return 0;
}
