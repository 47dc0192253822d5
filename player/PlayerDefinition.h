// The player window as defined: title, client size and controls.
#pragma once

#include "../platform/ControlDefinitions.h"

namespace zavi::player {

inline constexpr const char* kTitle = "Velostan Zavi Radio Player";
inline constexpr int kClientWidth = 7980;
inline constexpr int kClientHeight = 5010;

inline constexpr FormDefinition kForm{"VLZaviRadio.VelostanZaviRadio",
                                      kTitle,
                                      {0, 0, kClientWidth, kClientHeight},
                                      FormKind::Fixed,
                                      kWhite};

// Larger than the client area on purpose: the window cuts off its right and bottom edges.
inline constexpr WebBrowserDefinition kWebBrowser2{{0, 0, 9975, 5295}, 0};
// Sits above the browser's top-left corner; second in the tab order.
inline constexpr PushButtonDefinition kCommand1{
    1, {120, 0, 135, 195}, "X", {"MS Sans Serif", 8.25, 400}, 1, "Close"};

// Runs only while a sleep timer counts down or a new volume is shown; its interval is set
// for each next step.
inline constexpr unsigned kListenTimer = 3;

}  // namespace zavi::player
