// What a window definition says about its window and controls, before any of it exists.
#pragma once

#include "OleColour.h"
#include "Twips.h"

namespace zavi {

struct FontSpec {
    const char* face;
    double points;
    int weight;
};

enum class MousePointer { Default, UpArrow };

struct LabelDefinition {
    TwipsRect bounds;
    const char* caption;
    FontSpec font;
    OleColour foreColour;
    MousePointer pointer;
};

struct ProgressBarDefinition {
    TwipsRect bounds;
    float min;
    float max;
};

struct PushButtonDefinition {
    unsigned id;  // the control id its clicks arrive with
    TwipsRect bounds;
    const char* caption;
    FontSpec font;
    int tabIndex;
    // What a screen reader calls it, where the caption is only a sign ("X"); translated.
    const char* accessibleName = nullptr;
};

struct WebBrowserDefinition {
    TwipsRect bounds;
    int tabIndex;
};

struct TimerDefinition {
    unsigned id;
    unsigned intervalMs;
};

struct NotifyIconDefinition {
    unsigned id;               // the icon's identifier within its window
    unsigned flags;            // which parts of the record are valid
    unsigned callbackMessage;  // what the shell sends the window about the icon
};

// One entry of a notification icon's menu.
struct MenuItemDefinition {
    unsigned id;
    const char* caption;
};

enum class FormKind {
    // Borderless, out of the taskbar, shown without taking the focus.
    Floating,
    // A title bar with a minimize box, a fixed size, in the taskbar, centred on the screen.
    Fixed,
};

struct FormDefinition {
    const char* name;  // the platform's name for this kind of window (its class)
    const char* caption;
    TwipsRect client;  // client area, placed on the screen
    FormKind kind;
    OleColour backColour;
};

}  // namespace zavi
