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
};

struct WebBrowserDefinition {
    TwipsRect bounds;
};

struct TimerDefinition {
    unsigned id;
    unsigned intervalMs;
};

}  // namespace zavi
