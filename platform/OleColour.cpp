#include "OleColour.h"

namespace zavi {

std::uint32_t ResolveColour(OleColour colour,
                            const std::function<std::uint32_t(int index)>& systemColour) {
    if ((colour & kSystemColourFlag) != 0) {
        return systemColour(static_cast<int>(colour & 0xFFu)) & 0x00FFFFFFu;
    }
    return colour & 0x00FFFFFFu;
}

}  // namespace zavi
