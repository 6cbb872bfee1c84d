// The read result of every reader: its status, and the offset where reading stopped, on whole,
// cut and foreign bytes. (Every prefix of a file: StreamTruncation and OldFormatReader.)
#include <gtest/gtest.h>

#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"
#include "support/JwcWriter.h"
#include "support/JwkWriter.h"
#include "support/OldFormatChecks.h"
#include "support/ReaderLoads.h"
#include "support/StreamReaders.h"
#include "support/TempDir.h"

namespace {

constexpr size_t kTrailing = 4;  // bytes after the file's last part, as real drawings have

// A file of every format with its `kTrailing` bytes, and where its records begin.
struct TSample {
    std::vector<uint8_t> bytes;
    size_t body = 0;
};

template <class Data> TSample SampleOf()
{
    using namespace streamfixture;
    if constexpr (std::is_same_v<Data, TJwcData> || std::is_same_v<Data, TJwkData>) {
        using Writer = std::conditional_t<std::is_same_v<Data, TJwcData>, JwcWriter, JwkWriter>;
        const Writer w = fixture::MixedFile<Writer>();
        TSample sample{w.Build(), w.LinesStart()};
        sample.bytes.insert(sample.bytes.end(), kTrailing, 0xFF);
        return sample;
    } else {
        return {TFileOf<Data>::Build(700, WriteEveryKind), TFileOf<Data>::HeaderSize(700)};
    }
}

std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t length)
{
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)};
}

}  // namespace

template <class Data> class ReadResult : public ::testing::Test {};
using TReaders = ::testing::Types<TJwwData, TJwsData, TJwcData, TJwkData>;
TYPED_TEST_SUITE(ReadResult, TReaders);

TYPED_TEST(ReadResult, SaysWhyAndWhereReadingStopped)
{
    const TSample sample = SampleOf<TypeParam>();
    const std::vector<uint8_t>& whole = sample.bytes;
    std::vector<uint8_t> otherCase = whole;
    otherCase[0] ^= 0x20;
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        TReadStatus status;
        size_t offset;
    } cases[] = {
        {"whole, with bytes after its end", whole, TReadStatus::Complete, whole.size() - kTrailing},
        {"cut one byte into the records", Prefix(whole, sample.body + 1), TReadStatus::Damaged, sample.body},
        {"cut before the records", Prefix(whole, sample.body - 1), TReadStatus::Damaged, 0},
        {"signature in another letter case", otherCase, TReadStatus::NotThisFormat, 0},
        {"cut inside the signature", Prefix(whole, 3), TReadStatus::NotThisFormat, 0},
        {"empty", {}, TReadStatus::NotThisFormat, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TypeParam data;
        const TReadResult read = data.LoadBytes(AsBytes(c.bytes));
        EXPECT_EQ(read.status, c.status) << read.Description();
        // Inside the header the stop depends on its layout: only its bounds are sure.
        if (c.offset == 0 && c.status == TReadStatus::Damaged) {
            EXPECT_GT(read.offset, 0u);
            EXPECT_LT(read.offset, sample.body);
        } else {
            EXPECT_EQ(read.offset, c.offset);
        }
    }
}

TYPED_TEST(ReadResult, AMissingFileOrAFolderIsUnreadable)
{
    TTempDir dir;
    TypeParam data;
    for (const std::filesystem::path& path : {dir / "missing", dir.Path()}) {
        const TReadResult read = data.LoadFile(path);
        EXPECT_EQ(read.status, TReadStatus::Unreadable);
        EXPECT_EQ(read.offset, 0u);
    }
}

TEST(ReadResult, ADrawingBelowVersion220IsUnsupportedRightAfterItsVersion)
{
    TJwwData data;
    const TReadResult read = data.LoadBytes(AsBytes(jwwfixture::TJwwFileWriter(200).Build()));
    EXPECT_EQ(read.status, TReadStatus::Unsupported);
    EXPECT_EQ(read.offset, TJwwData::kSignature.size() + 4);
}
