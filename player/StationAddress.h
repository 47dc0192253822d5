// The station page's address: fixed in the program, its host chosen when it is built.
#pragma once

#include <string>

namespace zavi {

inline constexpr const char* kStationPagePath = "/listenlive/zaviradio.html";

// "http://" + host + the page's path, with no query part.
std::string StationPageAddress(const std::string& host);

}  // namespace zavi
