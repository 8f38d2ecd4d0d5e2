#include "res/registry_paths.h"
#include "catalog/catalog_builder.h"
#include "catalog/check_requests.h"
#include "catalog/check_session.h"
#include "win/registry_key.h"

#include <optional>

namespace {

void AddRegisteredApps(std::vector<std::unique_ptr<CAppInfo>>& catalog, ICatalogObserver* observer)
{
    std::optional<CheckSession> own;
    if (!CheckSession::Current())
        own.emplace();
    CheckSession& checks = *CheckSession::Current();
    // All checks start at once, side by side; each entry then waits for its own.
    checks.RunAhead(CatalogCheckRequests());
    for (int index = 0;; ++index) {
        checks.ForgetLastOutcome();
        auto entry = std::make_unique<CAppInfo>();
        DropReason reason = DropReason::None;
        if (observer)
            entry->ReportDropReasonTo(&reason);
        const LoadResult result = LoadResultOf(entry->LoadRegisteredAppAt(index));
        if (result == LoadResult::NoMoreEntries)
            break;
        entry->ReportDropReasonTo(nullptr);
        const bool kept = result != LoadResult::Dropped;
        if (observer)
            observer->OnEntry(*entry, false, kept ? DropReason::None : reason, checks.LastOutcome());
        if (kept)
            catalog.push_back(std::move(entry));
    }
    checks.EndRunAhead();
}

// The mask counts only when it is a REG_DWORD; anything else offers no built-in item.
bool ReadBuiltInMask(DWORD& mask)
{
    CRegistryKey key;
    return key.OpenForRead(HKEY_LOCAL_MACHINE, kCatalogKeyPath) && key.ReadDword(L"OSItems", mask);
}

void AddBuiltInItems(std::vector<std::unique_ptr<CAppInfo>>& catalog, ICatalogObserver* observer)
{
    DWORD mask = 0;
    if (!ReadBuiltInMask(mask))
        return;
    for (int item = 0; item < kBuiltInItemCount; ++item) {
        if (!(mask & (1u << item)))
            continue;
        auto entry = std::make_unique<CAppInfo>();
        DropReason reason = DropReason::None;
        if (observer)
            entry->ReportDropReasonTo(&reason);
        // Any other number than Dropped keeps a built-in item.
        const bool kept = LoadResultOf(entry->LoadOsItem(item)) != LoadResult::Dropped;
        entry->ReportDropReasonTo(nullptr);
        if (observer)
            observer->OnEntry(*entry, true, kept ? DropReason::None : reason, CheckOutcome::NotRun);
        if (kept)
            catalog.push_back(std::move(entry));
    }
}

}  // namespace

void BuildCatalog(std::vector<std::unique_ptr<CAppInfo>>& catalog, ICatalogObserver* observer)
{
    AddRegisteredApps(catalog, observer);
    AddBuiltInItems(catalog, observer);
}
