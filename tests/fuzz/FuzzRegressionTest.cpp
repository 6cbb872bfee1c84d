// Replays every input kept in tests/fuzz/regressions/<format>/ (files the fuzzers found
// troublesome, and a few of their corpus files) through the fuzzers' conversion under every
// option set. The name holds "Robust" so the sanitizer pass of `make test` replays them too.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/FileBytes.h"
#include "fuzz/FuzzConvert.h"

namespace fs = std::filesystem;

TEST(FuzzRegression, RobustUnderEveryOptionSet)
{
    const fs::path root = fs::path(__FILE__).parent_path() / "regressions";
    const std::pair<const char*, TInputFormat> formats[] = {
        {"jww", TInputFormat::Jww}, {"jws", TInputFormat::Jws}, {"jwc", TInputFormat::Jwc}, {"jwk", TInputFormat::Jwk}};
    for (const auto& [folder, format] : formats) {
        size_t replayed = 0;
        for (const auto& entry : fs::directory_iterator(root / folder)) {
            std::vector<uint8_t> input;
            ASSERT_TRUE(ReadWholeFile(entry.path(), input)) << entry.path();
            if (input.empty()) continue;
            SCOPED_TRACE(entry.path().string());
            for (size_t set = 0; set < kFuzzOptionSetCount; ++set) {
                input[0] = static_cast<uint8_t>(set);
                FuzzConvertOne(format, input.data(), input.size());
            }
            ++replayed;
        }
        EXPECT_GT(replayed, 0u) << "no inputs under " << (root / folder);
    }
}
