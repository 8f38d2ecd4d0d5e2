#include "tools/reg_file.h"

#include <fstream>
#include <sstream>

namespace {

const wchar_t kHeader5[] = L"Windows Registry Editor Version 5.00";
const wchar_t kHeader4[] = L"REGEDIT4";

std::wstring Decode(UINT codePage, DWORD flags, const char* data, int size)
{
    if (size == 0)
        return std::wstring();
    int units = MultiByteToWideChar(codePage, flags, data, size, nullptr, 0);
    if (units <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(codePage, flags, data, size, &text[0], units);
    return text;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::vector<std::wstring> PhysicalLines(const std::wstring& text)
{
    std::vector<std::wstring> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool ParseHexNumber(const std::wstring& text, DWORD& value)
{
    if (text.empty() || text.size() > 8)
        return false;
    value = 0;
    for (wchar_t c : text) {
        int digit = HexDigit(c);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<DWORD>(digit);
    }
    return true;
}

void AppendUtf16(std::vector<BYTE>& data, const std::wstring& text)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    data.insert(data.end(), bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

class Parser {
public:
    Parser(std::vector<RegFileKey>& keys, RegFileError& error) : keys_(keys), error_(error) {}

    bool Parse(const std::wstring& text)
    {
        std::vector<std::wstring> lines = PhysicalLines(text);
        size_t i = 0;
        while (i < lines.size() && Trimmed(lines[i]).empty())
            ++i;
        if (i == lines.size())
            return Fail(1, "the file is empty; it must begin with \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
        std::wstring header = Trimmed(lines[i]);
        if (header == kHeader5)
            ansi_ = false;
        else if (header == kHeader4)
            ansi_ = true;
        else
            return Fail(static_cast<int>(i) + 1,
                        "expected \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\" as the first line");
        for (++i; i < lines.size(); ++i) {
            int number = static_cast<int>(i) + 1;
            std::wstring line = Trimmed(lines[i]);
            if (line.empty() || line[0] == L';')
                continue;
            if (line[0] == L'[') {
                if (!ParseKey(line, number))
                    return false;
                continue;
            }
            // A value's data may go on over several lines, each but the last ending in '\'.
            while (!line.empty() && line.back() == L'\\' && i + 1 < lines.size())
                line = line.substr(0, line.size() - 1) + Trimmed(lines[++i]);
            if (!ParseValue(line, number))
                return false;
        }
        return true;
    }

private:
    bool Fail(int line, const std::string& message)
    {
        error_.line = line;
        error_.message = message;
        return false;
    }

    bool ParseKey(const std::wstring& line, int number)
    {
        if (line.back() != L']')
            return Fail(number, "a key line must end with ']'");
        RegFileKey key;
        key.line = number;
        key.path = line.substr(1, line.size() - 2);
        if (!key.path.empty() && key.path[0] == L'-') {
            key.remove = true;
            key.path.erase(0, 1);
        }
        if (key.path.empty() || key.path.find(L"HKEY_") != 0)
            return Fail(number, "a key path must begin with a root such as HKEY_LOCAL_MACHINE");
        keys_.push_back(key);
        return true;
    }

    // A quoted name or string from `pos` (on the opening quote); `pos` ends after the closing one.
    bool ParseQuoted(const std::wstring& line, size_t& pos, std::wstring& out, int number)
    {
        out.clear();
        for (++pos; pos < line.size(); ++pos) {
            wchar_t c = line[pos];
            if (c == L'"') {
                ++pos;
                return true;
            }
            if (c == L'\\') {
                if (pos + 1 >= line.size() || (line[pos + 1] != L'\\' && line[pos + 1] != L'"'))
                    return Fail(number, "a backslash in a quoted text must be written \\\\ (or \\\" for a quotation mark)");
                c = line[++pos];
            }
            out += c;
        }
        return Fail(number, "a quoted text is not closed");
    }

    bool ParseValue(const std::wstring& line, int number)
    {
        if (keys_.empty())
            return Fail(number, "a value before the first [key] line");
        if (keys_.back().remove)
            return Fail(number, "a value under a key that the file deletes");
        RegFileValue value;
        value.line = number;
        size_t pos = 0;
        if (line[0] == L'@') {
            pos = 1;
        } else if (line[0] == L'"') {
            if (!ParseQuoted(line, pos, value.name, number))
                return false;
        } else {
            return Fail(number, "expected a [key], a \"name\"=data or @=data line");
        }
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != L'=')
            return Fail(number, "expected '=' after the value name");
        std::wstring data = Trimmed(line.substr(pos + 1));
        if (!ParseData(data, value, number))
            return false;
        keys_.back().values.push_back(value);
        return true;
    }

    bool ParseData(const std::wstring& data, RegFileValue& value, int number)
    {
        if (data == L"-") {
            value.remove = true;
            return true;
        }
        if (!data.empty() && data[0] == L'"') {
            size_t pos = 0;
            std::wstring text;
            if (!ParseQuoted(data, pos, text, number))
                return false;
            if (!Trimmed(data.substr(pos)).empty())
                return Fail(number, "unexpected text after the closing quotation mark");
            value.type = REG_SZ;
            AppendUtf16(value.data, text);
            return true;
        }
        if (data.compare(0, 6, L"dword:") == 0) {
            DWORD number32 = 0;
            if (!ParseHexNumber(data.substr(6), number32))
                return Fail(number, "dword: must be followed by 1 to 8 hexadecimal digits");
            value.type = REG_DWORD;
            const BYTE* bytes = reinterpret_cast<const BYTE*>(&number32);
            value.data.assign(bytes, bytes + sizeof(number32));
            return true;
        }
        if (data.compare(0, 3, L"hex") == 0)
            return ParseHex(data.substr(3), value, number);
        return Fail(number, "unknown data: expected \"text\", dword:, hex:, hex(N): or -");
    }

    // After "hex": ":bytes" or "(N):bytes".
    bool ParseHex(const std::wstring& rest, RegFileValue& value, int number)
    {
        size_t colon = rest.find(L':');
        if (colon == std::wstring::npos)
            return Fail(number, "hex data needs a ':'");
        value.type = REG_BINARY;
        if (colon > 0) {
            if (rest[0] != L'(' || rest[colon - 1] != L')' || !ParseHexNumber(rest.substr(1, colon - 2), value.type))
                return Fail(number, "hex(N): needs a hexadecimal type number in the parentheses");
        }
        std::wstring list = rest.substr(colon + 1);
        std::vector<BYTE> bytes;
        size_t pos = 0;
        while (pos < list.size()) {
            size_t comma = list.find(L',', pos);
            std::wstring item = Trimmed(list.substr(pos, comma == std::wstring::npos ? std::wstring::npos : comma - pos));
            DWORD byte = 0;
            if (item.size() > 2 || !ParseHexNumber(item, byte))
                return Fail(number, "hex data must be bytes of two hexadecimal digits separated by commas");
            bytes.push_back(static_cast<BYTE>(byte));
            if (comma == std::wstring::npos)
                break;
            pos = comma + 1;
            if (pos == list.size())
                return Fail(number, "hex data ends with a comma and no continuation line");
        }
        // REGEDIT4 wrote text types as bytes of the ANSI code page; the registry keeps UTF-16.
        if (ansi_ && (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ)) {
            std::wstring text = Decode(CP_ACP, 0, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
            const BYTE* wide = reinterpret_cast<const BYTE*>(text.data());
            bytes.assign(wide, wide + text.size() * sizeof(wchar_t));
        }
        value.data = bytes;
        return true;
    }

    std::vector<RegFileKey>& keys_;
    RegFileError& error_;
    bool ansi_ = false;
};

}  // namespace

std::wstring DecodeRegFileText(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<BYTE>(bytes[0]) == 0xFF && static_cast<BYTE>(bytes[1]) == 0xFE) {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        if (!text.empty())
            memcpy(&text[0], bytes.data() + 2, text.size() * sizeof(wchar_t));
        return text;
    }
    size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const char* data = bytes.data() + skip;
    int size = static_cast<int>(bytes.size() - skip);
    if (size > 0 && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, size, nullptr, 0) > 0)
        return Decode(CP_UTF8, 0, data, size);
    return Decode(CP_ACP, 0, data, size);
}

bool ParseRegFile(const std::wstring& text, std::vector<RegFileKey>& keys, RegFileError& error)
{
    return Parser(keys, error).Parse(text);
}

bool ReadRegFile(const std::wstring& path, std::vector<RegFileKey>& keys, RegFileError& error)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) {
        error.line = 0;
        error.message = "cannot open the file";
        return false;
    }
    std::stringstream bytes;
    bytes << in.rdbuf();
    return ParseRegFile(DecodeRegFileText(bytes.str()), keys, error);
}
