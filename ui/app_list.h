// The catalogue as the page holds it: entries in the order they were read, owned by the tab
// control; the views and the description pane hold plain pointers into it.
#pragma once
#include "catalog/app_info.h"

#include <memory>
#include <vector>

using CAppList = std::vector<std::unique_ptr<CAppInfo>>;
