// The program's names, shared by the error reports, the resources and the windows.
#pragma once

namespace zavi {

inline constexpr const char* kApplicationTitle = "zaviradio10.01.29";
inline constexpr const char* kProjectName = "VLZaviRadio";
// How a desktop names the program: in its menus and media controls, and the id of its
// desktop entry (np.com.velostan.ZaviRadio.desktop).
inline constexpr const char* kDisplayName = "Zavi Radio";
inline constexpr const char* kDesktopId = "np.com.velostan.ZaviRadio";

}  // namespace zavi
