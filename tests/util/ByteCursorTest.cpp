#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "util/ByteCursor.h"

// A cursor reading a file through a small window, from a source that gives short reads, reads
// what a cursor over the whole file in memory reads: the same values and positions, failing at
// the same place without moving. Reads of every size run across the window's edges, and some
// are longer than the window; a look ahead (Peek) sees the same bytes, or none, and moves nothing.
TEST(ByteCursor, AWindowOverAFileReadsAsTheFileInMemory)
{
    std::mt19937 random(5);
    std::vector<uint8_t> file(5000);
    for (uint8_t& b : file) b = static_cast<uint8_t>(random());
    for (size_t window : {1u, 7u, 64u, 4096u, 1u << 20}) {
        size_t offset = 0;
        TByteCursor streamed(
            [&](uint8_t* into, size_t count) {
                const size_t n = std::min({count, file.size() - offset, size_t{1} + random() % 50});
                std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), n, into);
                offset += n;
                return n;
            },
            file.size(), window);
        TByteCursor whole(file);
        ASSERT_TRUE(streamed.StartsWith(std::string_view(reinterpret_cast<const char*>(file.data()), 3)));
        for (int step = 0; !whole.AtEnd() || step % 8 != 7; ++step) {
            const auto same = [&](auto read) {
                bool failedWhole = false, failedStreamed = false;
                decltype(read(whole)) a{}, b{};
                try { a = read(whole); } catch (const TReadFailure&) { failedWhole = true; }
                try { b = read(streamed); } catch (const TReadFailure&) { failedStreamed = true; }
                ASSERT_EQ(failedWhole, failedStreamed);
                ASSERT_EQ(a, b);
                ASSERT_EQ(whole.Position(), streamed.Position());
                ASSERT_EQ(whole.Remaining(), streamed.Remaining());
            };
            const size_t length = random() % 300;
            switch (step % 8) {
            case 0: same([](TByteCursor& c) { return c.U8(); }); break;
            case 1: same([](TByteCursor& c) { return c.U16(); }); break;
            case 2: same([](TByteCursor& c) { return c.U32(); }); break;
            case 3: same([](TByteCursor& c) { return c.F64(); }); break;
            case 4: same([length](TByteCursor& c) { return c.Bytes(length); }); break;
            case 5: same([](TByteCursor& c) { c.Skip(9); return 0; }); break;
            case 6:
                same([length](TByteCursor& c) {
                    const uint8_t* p = c.Peek(length);
                    return p ? std::string(p, p + length) : std::string("none");
                });
                break;
            default: same([](TByteCursor& c) { return c.Bytes(c.Remaining() + 1); }); break;  // always fails
            }
            if (step > 100000) FAIL() << "no end";
        }
    }
}
