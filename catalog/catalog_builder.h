// Builds the catalogue: registered applications in enumeration order, then the built-in items
// selected by the OSItems mask. The hub's page and the inspector both use it.
#pragma once
#include "catalog/app_info.h"
#include "catalog/check_outcome.h"
#include "catalog/drop_reason.h"

#include <memory>
#include <vector>

// Told about every entry the builder tried, in catalogue order, while the entry still exists.
class ICatalogObserver {
public:
    virtual ~ICatalogObserver() = default;
    // `reason` is None for an entry that was kept. `builtIn` marks the control-panel items.
    // `check` tells how the entry's availability check ended (NotRun when it had none).
    virtual void OnEntry(const CAppInfo& entry, bool builtIn, DropReason reason, CheckOutcome check) = 0;
};

// Appends the kept entries to `catalog`. The observer, when given, only watches. The checks of
// one build start together and run side by side in a check session of their own, unless the
// caller already opened one.
void BuildCatalog(std::vector<std::unique_ptr<CAppInfo>>& catalog, ICatalogObserver* observer = nullptr);

// Number of built-in items (bits 0-8 of the mask).
constexpr int kBuiltInItemCount = 9;
