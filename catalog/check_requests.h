// Availability checks as requests to the helper: from one entry's check text, and every check the
// registered catalogue will ask for, so that they can all be started at once.
#pragma once
#include "catalog/check_protocol.h"

#include <string>
#include <vector>

// "library, function, first[, second]" with a registry reference in the library resolved. False
// when the text does not have 3 or 4 fields.
bool CheckRequestFromSpec(const std::wstring& spec, CheckRequest& request);

// The checks the catalogue's registered entries ask for, in catalogue order: those with AppCheck
// 1 and a readable AppCheckFunc of 3 or 4 fields that AppHide does not hide, read as the loader
// reads them.
std::vector<CheckRequest> CatalogCheckRequests();
