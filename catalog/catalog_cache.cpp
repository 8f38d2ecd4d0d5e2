#include "catalog/catalog_cache.h"

#include "win/file_trust.h"
#include "win/handles.h"
#include "win/privileges.h"
#include "win/resource_module.h"

#include <shlobj.h>

namespace {

const wchar_t kFolderName[] = L"Brindle";
const wchar_t kFileName[] = L"catalog.cache";

CatalogCache* g_current = nullptr;  // the catalogue and its page are built on one thread

bool ReadWholeFile(HANDLE file, std::vector<std::uint8_t>& bytes)
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > kLargestCacheBytes)
        return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    return bytes.empty() ||
           (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
}

// Creates the folder for administrators only when it is missing.
void MakeFolder(const std::wstring& folder)
{
    if (::GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    win::AdministratorsOnlySecurity owned(true);
    if (::CreateDirectoryW(folder.c_str(), owned.get()))
        return;
    // Where the Administrators group cannot be made the owner, the administrator who creates it is.
    win::AdministratorsOnlySecurity unowned(false);
    ::CreateDirectoryW(folder.c_str(), unowned.get());
}

// Writes `bytes` to a new file beside `path` and puts it in place of `path` at once, so that a
// reader sees the old file or the new one, never a part.
bool ReplaceFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    const std::wstring temporary = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    win::UniqueFile file;
    for (bool asOwner : {true, false}) {
        win::AdministratorsOnlySecurity security(asOwner);
        file.reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, security.get(), CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            break;
    }
    if (!file)
        return false;
    DWORD written = 0;
    const bool complete = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size();
    file.reset();
    if (complete && ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    ::DeleteFileW(temporary.c_str());
    return false;
}

}  // namespace

CatalogCacheSetup MachineCacheSetup()
{
    CatalogCacheSetup setup;
    wchar_t common[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)) && common[0])
        setup.folder = std::wstring(common) + L"\\" + kFolderName;
    bool member = false;
    setup.administrator = IsAdministrator(&member) && member;
    return setup;
}

std::wstring CatalogCache::FilePath(const std::wstring& folder)
{
    return folder + L"\\" + kFileName;
}

CatalogCache::CatalogCache(CatalogCacheSetup setup)
    : m_setup(std::move(setup)), m_context(CurrentCacheContext()), m_startTime(win::FileTimeNow()),
      m_pPrevious(g_current)
{
    if (m_setup.administrator)
        m_administratorAccount = win::CurrentUserSid();
    g_current = this;
    if (m_setup.folder.empty())
        return;
    // Whoever may change the folder may put another file in the cache's place.
    const bool folderExists = ::GetFileAttributesW(m_setup.folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    const bool folderTrusted = folderExists && win::OnlyAdministratorsMayChangePath(m_setup.folder, AdministratorAccount());
    // Parts are only worth keeping where they can be written.
    m_mayWrite = m_setup.administrator && (!folderExists || folderTrusted);
    if (folderTrusted)
        Read();
    else if (folderExists)
        m_state = FileState::Untrusted;
}

PSID CatalogCache::AdministratorAccount()
{
    return m_administratorAccount.empty() ? nullptr : m_administratorAccount.data();
}

CatalogCache::~CatalogCache()
{
    g_current = m_pPrevious;
    if (!m_saved)
        Save();
}

CatalogCache* CatalogCache::Current()
{
    return g_current;
}

void CatalogCache::Read()
{
    const win::UniqueFile file(::CreateFileW(FilePath(m_setup.folder).c_str(), GENERIC_READ | READ_CONTROL,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return;
    if (!win::OnlyAdministratorsMayChangeFile(file.get(), AdministratorAccount())) {
        m_state = FileState::Untrusted;
        return;
    }
    std::vector<std::uint8_t> bytes;
    CacheContents contents;
    if (!ReadWholeFile(file.get(), bytes) || !ParseCache(bytes, contents)) {
        m_state = FileState::Damaged;
        return;
    }
    if (contents.context != m_context) {
        m_state = FileState::OtherContext;
        return;
    }
    m_state = FileState::Read;
    for (CachedText& text : contents.texts) {
        TextKey key(text.library, text.id);
        m_texts[key].record = std::move(text);
    }
    for (CachedIcon& icon : contents.icons) {
        IconKey key(icon.path, icon.index, icon.size);
        m_icons[key].record = std::move(icon);
    }
    m_recordsRead = m_texts.size() + m_icons.size();
}

const win::FileStamp& CatalogCache::StampSeen(const std::wstring& path)
{
    auto found = m_stamps.find(path);
    if (found == m_stamps.end())
        found = m_stamps.emplace(path, win::StampOf(path)).first;
    return found->second;
}

bool CatalogCache::MayKeep(const win::FileStamp& before) const
{
    // A part is kept with the stamp its file had before it was read: a change while it was read
    // gives the file another stamp, unless it fell within the same tick of the clock as the last
    // change before, which the settling time rules out. The change time is the system's own; a
    // write time may have been set to any past moment.
    const std::uint64_t changed = before.changeTime ? before.changeTime : before.writeTime;
    return !before.exists || (changed <= m_startTime && m_startTime - changed >= m_setup.settleTime);
}

std::wstring CatalogCache::Text(const std::wstring& library, UINT id, const std::function<std::wstring()>& load)
{
    if (!win::IsFullyQualifiedPath(library))
        return load();  // found through the search path: which file that is may change
    const win::FileStamp before = StampSeen(library);
    Slot<CachedText>& slot = m_texts[TextKey(library, id)];
    if (slot.record.stamp == before && slot.record.library == library) {
        slot.used = true;
        ++m_reused;
        return slot.record.text;
    }
    std::wstring text = load();
    ++m_resolved;
    m_changed = true;
    if (m_mayWrite && MayKeep(before)) {
        slot.record = CachedText{library, id, before, text};
        slot.used = true;
    } else {
        slot.record = CachedText{};
        slot.used = false;
    }
    return text;
}

bool CatalogCache::FindImage(const std::wstring& path, int index, int size, IconImage& image)
{
    if (!win::IsFullyQualifiedPath(path))
        return false;  // found through the search path: which file that is may change
    const win::FileStamp& now = StampSeen(path);
    auto found = m_icons.find(IconKey(path, index, size));
    if (found == m_icons.end() || found->second.record.path != path || found->second.record.stamp != now)
        return false;
    found->second.used = true;
    ++m_reused;
    image = found->second.record.image;
    return true;
}

void CatalogCache::KeepImage(const std::wstring& path, int index, int size, IconImage image)
{
    Record(path, index, size, std::move(image), true);
}

void CatalogCache::Record(const std::wstring& path, int index, int size, IconImage image, bool keepable)
{
    ++m_resolved;
    m_changed = true;
    if (!win::IsFullyQualifiedPath(path))
        return;
    Slot<CachedIcon>& slot = m_icons[IconKey(path, index, size)];
    const win::FileStamp& before = StampSeen(path);
    if (keepable && m_mayWrite && MayKeep(before)) {
        slot.record = CachedIcon{path, index, size, before, std::move(image)};
        slot.used = true;
    } else {
        slot.record = CachedIcon{};
        slot.used = false;
    }
}

HICON CatalogCache::Icon(const std::wstring& path, int index, int size,
                         const std::function<HICON(IconImage& source)>& make)
{
    IconImage image;
    if (!win::IsFullyQualifiedPath(path))
        return make(image);
    if (FindImage(path, index, size, image)) {
        HICON icon = image.empty() ? nullptr : IconFromImage(image);
        if (icon || image.empty())
            return icon;
        --m_reused;  // kept bytes that no longer make an icon are made afresh
        image = IconImage();
    }
    StampSeen(path);  // the file's stamp before it is read
    HICON icon = make(image);
    if (icon && image.empty() && m_mayWrite)
        image = IconImageOf(icon);
    // An icon whose image could not be read back is not kept.
    const bool keepable = image.empty() == !icon;
    Record(path, index, size, std::move(image), keepable);
    return icon;
}

bool CatalogCache::Save()
{
    m_saved = true;
    if (!m_mayWrite)
        return false;
    CacheContents contents;
    contents.context = m_context;
    for (const auto& text : m_texts) {
        if (text.second.used)
            contents.texts.push_back(text.second.record);
    }
    for (const auto& icon : m_icons) {
        if (icon.second.used)
            contents.icons.push_back(icon.second.record);
    }
    const bool sameAsRead = m_state == FileState::Read && !m_changed &&
                            contents.texts.size() + contents.icons.size() == m_recordsRead;
    if (sameAsRead)
        return false;
    MakeFolder(m_setup.folder);
    if (!win::OnlyAdministratorsMayChangePath(m_setup.folder, AdministratorAccount()))
        return false;  // someone else's folder: nothing of ours goes in it
    return ReplaceFile(FilePath(m_setup.folder), SerializeCache(contents));
}

std::wstring CachedLibraryString(const std::wstring& library, UINT id)
{
    CatalogCache* cache = CatalogCache::Current();
    if (!cache)
        return LoadLibraryString(library, id);
    return cache->Text(library, id, [&] { return LoadLibraryString(library, id); });
}
