// The program's names, shared by the error reports, the resources and the windows.
#pragma once

namespace zavi {

inline constexpr const char* kApplicationTitle = "zaviradio10.01.29";
inline constexpr const char* kProjectName = "VLZaviRadio";

}  // namespace zavi
