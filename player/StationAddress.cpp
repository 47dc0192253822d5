#include "StationAddress.h"

namespace zavi {

std::string StationPageAddress(const std::string& host) {
    return "http://" + host + kStationPagePath;
}

}  // namespace zavi
