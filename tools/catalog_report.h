// What the inspector prints about each entry the catalogue builder tried.
#pragma once
#include "catalog/app_info.h"
#include "catalog/check_outcome.h"
#include "catalog/drop_reason.h"

#include <string>

// Whether the loader got as far as reading the entry's category before it decided.
bool CategoryWasRead(bool builtIn, DropReason reason);

// "id<TAB>shown|dropped:reason<TAB>category<TAB>name" in UTF-8, without a line end; the category
// is "-" when it was never read.
std::string ReportLine(const CAppInfo& entry, bool builtIn, DropReason reason);

// One JSON object with the outcome, how the check ended ("check") and every field of the entry;
// "Category" is null when it was never read.
std::string ReportJson(const CAppInfo& entry, bool builtIn, DropReason reason, CheckOutcome check);

// File name for the icons of entry `id`: characters a file name cannot hold become '_', then ".ico".
std::wstring IconFileName(const std::wstring& id);
