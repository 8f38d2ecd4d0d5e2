#include "catalog/catalog_cache_format.h"

#include "win/handles.h"

#include <cstring>

namespace {

const char kMagic[8] = {'B', 'R', 'N', 'D', 'L', 'C', 'A', 'T'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::size_t kHeaderBytes = sizeof(kMagic) + 4 + 4 + 8;
constexpr std::uint32_t kLongestText = 32767;                 // units
constexpr std::uint32_t kLargestImage = 512u * 1024;           // bytes; a 256-pixel image needs 270 KB

std::uint64_t Checksum(const std::uint8_t* data, std::size_t bytes)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (std::size_t i = 0; i < bytes; ++i) {
        hash ^= data[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

class Writer {
public:
    void U8(std::uint8_t v) { m_bytes.push_back(v); }
    void U32(std::uint32_t v) { Raw(&v, sizeof(v)); }
    void U64(std::uint64_t v) { Raw(&v, sizeof(v)); }
    void Text(const std::wstring& text)
    {
        U32(static_cast<std::uint32_t>(text.size()));
        Raw(text.data(), text.size() * sizeof(wchar_t));
    }
    void Stamp(const win::FileStamp& stamp)
    {
        U8(stamp.exists ? 1 : 0);
        U64(stamp.size);
        U64(stamp.writeTime);
        U64(stamp.changeTime);
    }
    void Bytes(const std::vector<std::uint8_t>& bytes)
    {
        U32(static_cast<std::uint32_t>(bytes.size()));
        Raw(bytes.data(), bytes.size());
    }
    void Raw(const void* data, std::size_t bytes)
    {
        const auto* p = static_cast<const std::uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + bytes);
    }
    std::vector<std::uint8_t>& bytes() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Reads within its bytes only; once anything does not fit, every later read fails too.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t bytes) : m_p(data), m_end(data + bytes) {}
    bool U8(std::uint8_t& v) { return Raw(&v, sizeof(v)); }
    bool U32(std::uint32_t& v) { return Raw(&v, sizeof(v)); }
    bool I32(std::int32_t& v) { return Raw(&v, sizeof(v)); }
    bool U64(std::uint64_t& v) { return Raw(&v, sizeof(v)); }
    bool Text(std::wstring& text)
    {
        std::uint32_t units = 0;
        if (!U32(units) || units > kLongestText || !Fits(std::size_t(units) * sizeof(wchar_t)))
            return Fail();
        text.assign(units, L'\0');
        return Raw(&text[0], std::size_t(units) * sizeof(wchar_t));
    }
    bool Stamp(win::FileStamp& stamp)
    {
        std::uint8_t exists = 0;
        if (!U8(exists) || exists > 1 || !U64(stamp.size) || !U64(stamp.writeTime) || !U64(stamp.changeTime))
            return Fail();
        stamp.exists = exists == 1;
        return true;
    }
    bool Bytes(std::vector<std::uint8_t>& bytes, std::uint32_t largest)
    {
        std::uint32_t count = 0;
        if (!U32(count) || count > largest || !Fits(count))
            return Fail();
        bytes.resize(count);
        return Raw(bytes.data(), count);
    }
    // A count of records that each take at least `smallest` bytes.
    bool Count(std::uint32_t& count, std::size_t smallest)
    {
        return U32(count) && count <= static_cast<std::size_t>(m_end - m_p) / smallest ? true : Fail();
    }
    bool AtEnd() const { return m_ok && m_p == m_end; }

private:
    bool Fits(std::size_t bytes) const { return m_ok && bytes <= static_cast<std::size_t>(m_end - m_p); }
    bool Raw(void* out, std::size_t bytes)
    {
        if (!Fits(bytes))
            return Fail();
        if (bytes)
            std::memcpy(out, m_p, bytes);
        m_p += bytes;
        return true;
    }
    bool Fail()
    {
        m_ok = false;
        return false;
    }

    const std::uint8_t* m_p;
    const std::uint8_t* m_end;
    bool m_ok = true;
};

constexpr std::size_t kSmallestStamp = 1 + 8 + 8 + 8;
constexpr std::size_t kSmallestText = 4 + 4 + kSmallestStamp + 4;
constexpr std::size_t kSmallestIcon = 4 + 4 + 4 + kSmallestStamp + 4 + 4 + 4;

std::uint32_t ScreenCaps(int index)
{
    const win::WindowDC screen(nullptr);
    return screen.get() ? static_cast<std::uint32_t>(::GetDeviceCaps(screen.get(), index)) : 0;
}

}  // namespace

bool CacheContext::operator==(const CacheContext& other) const
{
    return producer == other.producer && producerStamp == other.producerStamp && colourBits == other.colourBits &&
           iconSize == other.iconSize && smallIconSize == other.smallIconSize && dpi == other.dpi &&
           uiLanguage == other.uiLanguage && locale == other.locale;
}

CacheContext CurrentCacheContext()
{
    CacheContext context;
    std::wstring program(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, &program[0], static_cast<DWORD>(program.size()));
    program.resize(length < program.size() ? length : 0);
    context.producer = program;
    context.producerStamp = win::StampOf(program);
    context.colourBits = ScreenCaps(BITSPIXEL) * ScreenCaps(PLANES);
    context.iconSize = static_cast<std::uint32_t>(::GetSystemMetrics(SM_CXICON)) << 16 | ::GetSystemMetrics(SM_CYICON);
    context.smallIconSize =
        static_cast<std::uint32_t>(::GetSystemMetrics(SM_CXSMICON)) << 16 | ::GetSystemMetrics(SM_CYSMICON);
    context.dpi = ScreenCaps(LOGPIXELSX);
    context.uiLanguage = ::GetUserDefaultUILanguage();
    context.locale = ::GetThreadLocale();
    return context;
}

std::vector<std::uint8_t> SerializeCache(const CacheContents& contents)
{
    Writer payload;
    const CacheContext& c = contents.context;
    payload.Text(c.producer);
    payload.Stamp(c.producerStamp);
    for (std::uint32_t v : {c.colourBits, c.iconSize, c.smallIconSize, c.dpi, c.uiLanguage, c.locale})
        payload.U32(v);
    payload.U32(static_cast<std::uint32_t>(contents.texts.size()));
    for (const CachedText& t : contents.texts) {
        payload.Text(t.library);
        payload.U32(t.id);
        payload.Stamp(t.stamp);
        payload.Text(t.text);
    }
    payload.U32(static_cast<std::uint32_t>(contents.icons.size()));
    for (const CachedIcon& i : contents.icons) {
        payload.Text(i.path);
        payload.U32(static_cast<std::uint32_t>(i.index));
        payload.U32(static_cast<std::uint32_t>(i.size));
        payload.Stamp(i.stamp);
        payload.U32(static_cast<std::uint32_t>(i.image.width));
        payload.U32(static_cast<std::uint32_t>(i.image.height));
        payload.Bytes(i.image.bytes);
    }

    Writer file;
    file.Raw(kMagic, sizeof(kMagic));
    file.U32(kFormatVersion);
    file.U32(static_cast<std::uint32_t>(payload.bytes().size()));
    file.U64(Checksum(payload.bytes().data(), payload.bytes().size()));
    file.Raw(payload.bytes().data(), payload.bytes().size());
    return std::move(file.bytes());
}

bool ParseCache(const std::vector<std::uint8_t>& bytes, CacheContents& contents)
{
    if (bytes.size() < kHeaderBytes || bytes.size() > kLargestCacheBytes ||
        std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0)
        return false;
    Reader header(bytes.data() + sizeof(kMagic), kHeaderBytes - sizeof(kMagic));
    std::uint32_t version = 0;
    std::uint32_t payloadBytes = 0;
    std::uint64_t checksum = 0;
    if (!header.U32(version) || !header.U32(payloadBytes) || !header.U64(checksum) || version != kFormatVersion ||
        payloadBytes != bytes.size() - kHeaderBytes || checksum != Checksum(bytes.data() + kHeaderBytes, payloadBytes))
        return false;

    Reader in(bytes.data() + kHeaderBytes, payloadBytes);
    CacheContext& c = contents.context;
    if (!in.Text(c.producer) || !in.Stamp(c.producerStamp))
        return false;
    for (std::uint32_t* v : {&c.colourBits, &c.iconSize, &c.smallIconSize, &c.dpi, &c.uiLanguage, &c.locale}) {
        if (!in.U32(*v))
            return false;
    }
    std::uint32_t count = 0;
    if (!in.Count(count, kSmallestText))
        return false;
    contents.texts.resize(count);
    for (CachedText& t : contents.texts) {
        if (!in.Text(t.library) || !in.U32(t.id) || !in.Stamp(t.stamp) || !in.Text(t.text))
            return false;
    }
    if (!in.Count(count, kSmallestIcon))
        return false;
    contents.icons.resize(count);
    for (CachedIcon& i : contents.icons) {
        if (!in.Text(i.path) || !in.I32(i.index) || !in.I32(i.size) || !in.Stamp(i.stamp) ||
            !in.I32(i.image.width) || !in.I32(i.image.height) || !in.Bytes(i.image.bytes, kLargestImage))
            return false;
    }
    return in.AtEnd();
}
