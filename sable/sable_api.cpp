#include "sable/sable_api.h"

namespace sable {

namespace {
bool g_lunaEnabled = false;
}

namespace SableAPI {

bool EnableLuna(bool enable)
{
    g_lunaEnabled = enable;
    return g_lunaEnabled;
}

bool IsLunaEnabled()
{
    return g_lunaEnabled;
}

}  // namespace SableAPI

}  // namespace sable
