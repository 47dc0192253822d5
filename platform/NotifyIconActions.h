// What a notification icon offers and what a click on it does. The platform calls these
// from its own handling of the icon; an action may unload the icon's form, and the icon
// with it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ControlDefinitions.h"

namespace zavi {

// One line of the icon's menu, as the program says it: the platform shows the caption in
// the user's language, with the argument, as it is, in place of its "%s".
struct MenuEntry {
    enum class Mark { None, Check, Radio };

    unsigned id = 0;
    std::string caption;
    std::string argument;
    bool enabled = true;
    Mark mark = Mark::None;
    bool marked = false;
    std::vector<MenuEntry> children;  // a submenu

    MenuEntry() = default;
    MenuEntry(const MenuItemDefinition& definition)  // NOLINT: a plain item is one
        : id(definition.id), caption(definition.caption) {}
};

// The caption with its argument in place.
inline std::string MenuText(std::string caption, const std::string& argument) {
    const std::size_t at = caption.find("%s");
    return at == std::string::npos ? caption : caption.replace(at, 2, argument);
}

struct NotifyIconActions {
    std::function<void()> activate;           // a left click, or the platform's activate
    std::function<void()> secondaryActivate;  // a middle click
    std::function<void(int steps)> scroll;    // the wheel over it: up is more
    std::vector<MenuEntry> menu;              // shown on a right click
    std::function<void(unsigned id)> choose;  // the item picked from it, if any
};

}  // namespace zavi
