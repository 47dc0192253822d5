#include "player/StationAddress.h"

#include <gtest/gtest.h>

namespace zavi {
namespace {

TEST(StationPageAddress, IsHttpOnTheHostWithTheFixedPathAndNoQuery) {
    EXPECT_EQ(StationPageAddress("radio.velostan.com.np"),
              "http://radio.velostan.com.np/listenlive/zaviradio.html");
    EXPECT_EQ(StationPageAddress("127.0.0.1:8765"),
              "http://127.0.0.1:8765/listenlive/zaviradio.html");
}

}  // namespace
}  // namespace zavi
