// What the inspector prints about each entry the catalogue builder tried.
#pragma once
#include "catalog/app_info.h"
#include "catalog/drop_reason.h"

#include <string>

// "id<TAB>shown|dropped:reason<TAB>category<TAB>name" in UTF-8, without a line end.
std::string ReportLine(const CAppInfo& entry, DropReason reason);

// One JSON object with the outcome and every field of the entry.
std::string ReportJson(const CAppInfo& entry, bool builtIn, DropReason reason);

// File name for the icons of entry `id`: characters a file name cannot hold become '_', then ".ico".
std::wstring IconFileName(const std::wstring& id);
