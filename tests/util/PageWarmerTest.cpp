#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "util/PageWarmer.h"

// A list filled one element after another while its room is warmed ahead keeps every value,
// and the warming never asks for more than the list's room; a warmer ended with ranges still
// queued stops without waiting for them.
TEST(PageWarmer, WarmsAheadOfAFillingListWithoutChangingIt)
{
    std::vector<uint64_t> list;
    list.reserve(6'000'000);  // 48 MB: several stretches
    {
        TPageWarmer warmer;
        std::size_t warmed = 0;
        for (uint64_t i = 0; i < 5'000'000; ++i) {
            warmer.WarmAhead(list, warmed);
            EXPECT_LE(warmed, list.capacity());
            list.push_back(i * 2654435761u);
        }
    }
    for (uint64_t i = 0; i < list.size(); ++i)
        if (list[i] != i * 2654435761u) FAIL() << "element " << i << " changed";

    const std::size_t bytes = std::size_t{64} << 20;
    const std::unique_ptr<char[]> room(new char[bytes]);  // left unwritten
    TPageWarmer stopped;
    for (int i = 0; i < 4; ++i) stopped.Warm(room.get(), bytes);
}
