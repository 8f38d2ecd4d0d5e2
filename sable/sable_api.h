// Switches of the skin layer as a whole.
#pragma once

namespace sable {

namespace SableAPI {
// Turns the skin on or off for windows created afterwards; true when the skin is in force.
bool EnableLuna(bool enable);
// Whether the skin is currently on.
bool IsLunaEnabled();
}  // namespace SableAPI

}  // namespace sable
