// Every prefix of every sample drawing loads without crashing or reading out of bounds (this
// runs under the sanitizers), and never yields more than the whole file does. Files made by
// the fixture writer are covered by StreamTruncation.
#include <gtest/gtest.h>

#include "support/JwwSamples.h"
#include "support/SharedData.h"
#include "support/StreamReaders.h"

class JwwTruncation : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(JwwTruncation, EveryPrefixOfASampleLoadsSafelyAndWithinTheWholeFile)
{
    if (GetParam().empty()) SKIP_WITHOUT_SHARED_DATA("shared samples absent");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(GetParam(), bytes));
    // Every length of the drawings up to 64 KiB; about 20000 evenly spread prefixes of the
    // larger ones (an odd stride meets every alignment), after every length of their header.
    const size_t stride = bytes.size() <= 65536 ? 1 : (bytes.size() / 20000) | 1;
    streamfixture::CheckPrefixes<TJwwData>(bytes, 20000, stride);
}

std::vector<std::filesystem::path> SamplesOrPlaceholder()
{
    auto files = jwwsamples::SampleFiles();
    if (files.empty()) files.emplace_back();
    return files;
}

INSTANTIATE_TEST_SUITE_P(Samples, JwwTruncation, ::testing::ValuesIn(SamplesOrPlaceholder()),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& info) {
                             return "sample" + std::to_string(info.index);
                         });
