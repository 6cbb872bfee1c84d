// Damaged files for both readers of the entity stream: every prefix of a file holding every
// record kind loads without crashing or reading out of bounds (this runs under the
// sanitizers) and within the whole file; single corrupted bytes end the reading quietly.
#include <gtest/gtest.h>

#include "support/StreamReaders.h"

using namespace streamfixture;

template <class Data> class StreamTruncation : public ::testing::Test {};
template <class Data> class StreamRobust : public ::testing::Test {};
using TStreamReaders = ::testing::Types<TJwwData, TJwsData>;
TYPED_TEST_SUITE(StreamTruncation, TStreamReaders);
TYPED_TEST_SUITE(StreamRobust, TStreamReaders);

TYPED_TEST(StreamTruncation, EveryPrefixOfAFileWithEveryKindLoadsSafely)
{
    for (int32_t version : {200, 230, 350, 420, 700}) {
        if (version < TFileOf<TypeParam>::kLowestVersion) continue;
        SCOPED_TRACE(version);
        const auto bytes = TFileOf<TypeParam>::Build(version, WriteEveryKind);
        CheckPrefixes<TypeParam>(bytes, bytes.size(), 1);
    }
}

TYPED_TEST(StreamRobust, CorruptedBytesEndReadingQuietly)
{
    // A drawing in wide strings from its stream on (its long header has robustness tests of its
    // own); a figure file in narrow strings, header included.
    constexpr bool kDrawing = std::is_same_v<TypeParam, TJwwData>;
    const int32_t version = kDrawing ? 700 : 420;
    const auto bytes = TFileOf<TypeParam>::Build(version, WriteEveryKind);
    TypeParam data;
    for (size_t at = kDrawing ? TFileOf<TypeParam>::HeaderSize(version) : 0; at < bytes.size(); ++at) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFE}, uint8_t{0xFF}}) {
            auto damaged = bytes;
            damaged[at] = value;
            ASSERT_LE(data.LoadBytes(AsBytes(damaged)).offset, damaged.size());
            if constexpr (!kDrawing) {
                ASSERT_EQ(data.layerGroups.size(), 16u);
            }
            data.ExpandBlocks();
        }
    }
}
