// What a click on a notification icon does. The platform calls these from its own handling
// of the icon; an action may unload the icon's form, and the icon with it.
#pragma once

#include <functional>
#include <vector>

#include "ControlDefinitions.h"

namespace zavi {

struct NotifyIconActions {
    std::function<void()> activate;           // a left click, or the platform's activate
    std::vector<MenuItemDefinition> menu;     // shown on a right click
    std::function<void(unsigned id)> choose;  // the item picked from it, if any
};

}  // namespace zavi
