// What the readers of the older record layouts (.JWC drawings, .JWK symbols) have in common:
// the signature, one file replacing the last, absurd counts, and files cut anywhere.
#include <gtest/gtest.h>

#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"
#include "support/JwcWriter.h"
#include "support/JwkWriter.h"
#include "support/OldFormatChecks.h"
#include "support/ReaderLoads.h"
#include "support/TempDir.h"

template <class Data> struct TWritersOf;
template <> struct TWritersOf<TJwcData> {
    using Own = JwcWriter;
    using Other = JwkWriter;
};
template <> struct TWritersOf<TJwkData> {
    using Own = JwkWriter;
    using Other = JwcWriter;
};

template <class Data> class OldFormatReader : public ::testing::Test {
protected:
    using Writer = typename TWritersOf<Data>::Own;
    static Writer Mixed() { return fixture::MixedFile<Writer>(); }
};
using TOldFormatReaders = ::testing::Types<TJwcData, TJwkData>;
TYPED_TEST_SUITE(OldFormatReader, TOldFormatReaders);

TYPED_TEST(OldFormatReader, AcceptsOnlyItsOwnExactSignature)
{
    TTempDir dir;
    auto w = TestFixture::Mixed();
    w.WriteTo(dir / "own");
    w.Signature.back() = ',';
    w.WriteTo(dir / "changed");
    typename TWritersOf<TypeParam>::Other().WriteTo(dir / "other");
    WriteFileBytes(dir / "short", "jw_cad");
    TypeParam data;
    EXPECT_TRUE(data.CheckSignature(dir / "own"));
    for (const char* name : {"changed", "other", "short", "missing"}) EXPECT_FALSE(data.CheckSignature(dir / name)) << name;
}

TYPED_TEST(OldFormatReader, EachFileReplacesThePreviousAndClearEmptiesTheModel)
{
    constexpr bool kDrawing = std::is_same_v<TypeParam, TJwcData>;
    TTempDir dir;
    auto first = TestFixture::Mixed();
    if constexpr (kDrawing) first.PaperCode = 2, first.LayerNames[0] = "wall";
    first.WriteTo(dir / "first");
    typename TestFixture::Writer second;
    second.Arcs = {fixture::MakeArc(1, 1, 1)};
    second.WriteTo(dir / "second");

    TypeParam data;
    EXPECT_TRUE(data.LoadFile(dir / "first"));
    EXPECT_EQ(data.PointCount(), 4u);
    EXPECT_TRUE(data.LoadFile(dir / "second"));
    EXPECT_EQ(data.ArcCount(), 1u);
    EXPECT_EQ(data.LineCount() + data.TextCount() + data.PointCount(), 0u);
    if constexpr (kDrawing) {
        EXPECT_TRUE(data.UnitFactor == 1.0 && data.Layers[0].Name.empty());
    }
    data.Clear();
    EXPECT_EQ(data.ArcCount(), 0u);
    EXPECT_EQ(data.Header.LineCount, 0);
    if constexpr (kDrawing) {
        EXPECT_TRUE(data.UnitFactor == 1.0 && data.DrawingScale() == 0.0);
    }
    EXPECT_FALSE(data.LoadFile(dir / "missing"));
    EXPECT_EQ(data.LineCount() + data.ArcCount(), 0u);
}

TYPED_TEST(OldFormatReader, AbsurdCountsAllocateNoMoreThanTheFileCouldHold)
{
    auto w = TestFixture::Mixed();
    w.DeclaredLines = 2147483647;
    w.DeclaredArcs = 1000000000;
    w.DeclaredTexts = 2000000000;
    w.DeclaredPoints = -5;
    const std::vector<uint8_t> bytes = w.Build();
    const size_t left = bytes.size() - w.LinesStart();

    TypeParam data;
    EXPECT_FALSE(data.LoadBytes(AsBytes(bytes)));
    EXPECT_EQ(data.LineCount(), left / 22);
    EXPECT_EQ(data.ArcCount(), left / 32);
    EXPECT_EQ(data.TextCount(), left / 24);
    EXPECT_EQ(data.PointCount(), 0u);
    EXPECT_EQ(data.Lines[1], w.Lines[1]);  // records before the failure stay
}

TYPED_TEST(OldFormatReader, EveryPrefixKeepsTheRecordsReadBeforeTheCut)
{
    fixture::CheckRecordPrefixes<TypeParam>(TestFixture::Mixed());
}
