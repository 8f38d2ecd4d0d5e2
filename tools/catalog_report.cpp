#include "tools/catalog_report.h"
#include "tools/text_encoding.h"

namespace {

std::string Outcome(DropReason reason)
{
    return reason == DropReason::None ? std::string("shown") : std::string("dropped:") + DropReasonName(reason);
}

// Tabs and line breaks inside a field would break the one-line-per-entry format.
std::wstring OnOneLine(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c == L'\t' || c == L'\r' || c == L'\n')
            c = L' ';
    }
    return text;
}

// Whether Windows takes a file named `name` for a device (CON, NUL, COM1, ...): what comes
// before the first dot, without trailing spaces, is compared ignoring case.
bool IsDeviceName(const std::wstring& name)
{
    std::wstring base = name.substr(0, name.find(L'.'));
    base.erase(base.find_last_not_of(L' ') + 1);
    for (wchar_t& c : base) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL")
        return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

}  // namespace

bool CategoryWasRead(bool builtIn, DropReason reason)
{
    // Built-in items take theirs from a table first; registered ones read it after name and path.
    return builtIn || reason == DropReason::None || reason == DropReason::NoIcon;
}

std::string ReportLine(const CAppInfo& entry, bool builtIn, DropReason reason)
{
    std::string category = CategoryWasRead(builtIn, reason) ? std::to_string(entry.m_nCategory) : "-";
    return Utf8FromUtf16(OnOneLine(entry.m_strId)) + "\t" + Outcome(reason) + "\t" + category + "\t" +
           Utf8FromUtf16(OnOneLine(entry.m_strAppName));
}

std::string ReportJson(const CAppInfo& entry, bool builtIn, DropReason reason, CheckOutcome check)
{
    auto text = [](const char* key, const std::wstring& value) {
        return std::string("\"") + key + "\": " + JsonString(value);
    };
    auto number = [](const char* key, int value) { return std::string("\"") + key + "\": " + std::to_string(value); };
    std::string json = "{";
    json += text("id", entry.m_strId) + ", ";
    json += std::string("\"outcome\": \"") + (reason == DropReason::None ? "shown" : "dropped") + "\", ";
    json += std::string("\"reason\": \"") + DropReasonName(reason) + "\", ";
    json += std::string("\"check\": \"") + CheckOutcomeName(check) + "\", ";
    json += std::string("\"builtIn\": ") + (builtIn ? "true" : "false") + ", ";
    json += text("AppName", entry.m_strAppName) + ", ";
    json += text("AppPath", entry.m_strAppPath) + ", ";
    json += text("AppOption", entry.m_strAppOption) + ", ";
    json += text("Folder", entry.m_strFolder) + ", ";
    json += CategoryWasRead(builtIn, reason) ? number("Category", entry.m_nCategory) + ", "
                                             : std::string("\"Category\": null, ");
    json += text("Description", entry.m_strDescription) + ", ";
    json += text("IconPath", entry.m_strIconPath) + ", ";
    json += number("IconIndex", entry.m_nIconIndex) + ", ";
    json += text("HelpPath", entry.m_strHelpPath) + ", ";
    json += number("HelpOption1", entry.m_nHelpOption1) + ", ";
    json += number("HelpOption2", entry.m_nHelpOption2) + ", ";
    json += number("AppHide", entry.m_nAppHide) + ", ";
    json += number("AppCheck", entry.m_nAppCheck) + ", ";
    json += text("AppCheckFunc", entry.m_strAppCheckFunc);
    return json + "}";
}

std::wstring IconFileName(const std::wstring& id)
{
    std::wstring name = id;
    for (wchar_t& c : name) {
        if (c < 0x20 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos)
            c = L'_';
    }
    // An id named like a device would send the icons to that device instead of a file.
    if (name.empty() || name == L"." || name == L".." || IsDeviceName(name))
        name = L"_" + name;
    return name + L".ico";
}
