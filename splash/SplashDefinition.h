// The start-up window as defined: title, client size, colours, controls and tip.
#pragma once

#include "../platform/ControlDefinitions.h"

namespace zavi::splash {

inline constexpr const char* kTitle = "Zavi Radio";
inline constexpr int kClientWidth = 7845;
inline constexpr int kClientHeight = 2130;
// Where the client area sits if the load sequence never places the window.
inline constexpr int kDesignLeft = 6735;
inline constexpr int kDesignTop = 7425;
inline constexpr OleColour kBackColour = kWhite;

inline constexpr FormDefinition kForm{"VLZaviRadio.ZaviRadioSplash",
                                      kTitle,
                                      {kDesignLeft, kDesignTop, kClientWidth, kClientHeight},
                                      FormKind::Floating,
                                      kBackColour};

inline constexpr LabelDefinition kLabel1{{-360, 0, 8175, 1575},
                                         " Zavi  Radio",
                                         {"Times New Roman", 72.0, 700},
                                         kDesktopColour,
                                         MousePointer::UpArrow};
inline constexpr LabelDefinition kLabel2{{2280, 1440, 4815, 615},
                                         "Zavi Radio is starting...",
                                         {"Arial Unicode MS", 20.25, 400},
                                         0x00400040u,
                                         MousePointer::Default};
inline constexpr LabelDefinition kLabel3{{1320, 1920, 5175, 255},
                                         "developed by Orvan Teslik, Velostan Corporation",
                                         {"Arial", 9.75, 700},
                                         kButtonTextColour,
                                         MousePointer::Default};
inline constexpr ProgressBarDefinition kProgressBar1{{0, 1440, 7695, 165}, 0.0f, 100.0f};

inline constexpr TimerDefinition kTimer1{1, 1};
inline constexpr TimerDefinition kTimer2{2, 2000};

inline constexpr const char* kTrayTip = "Velostan Radio";
// Callback message, icon and tip valid (7); the shell reports mouse activity over the icon
// as the platform's mouse-move message, 0x0200.
inline constexpr NotifyIconDefinition kTrayIcon{1, 7, 0x0200};

// The icon's menu, on a right click; a left click does what "Show player" does.
inline constexpr MenuItemDefinition kShowPlayer{1, "Show player"};
inline constexpr MenuItemDefinition kQuit{2, "Quit"};

}  // namespace zavi::splash
