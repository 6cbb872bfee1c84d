#pragma once
// Checks shared by the tests of the two readers of the older record layouts (.JWC drawings
// and .JWK symbols), over files of their fixture writers.
#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <vector>

#include "formats/jwc/jwctype.h"
#include "support/ReaderLoads.h"

namespace fixture {

// Every prefix of the writer's file loads without fault, stops within the prefix and is
// complete only when whole; a record lying wholly inside the prefix equals the full file's and
// any other is zero-filled, no list outgrows the full one, and a text has its string only once
// its block was read.
// `more` adds the reader's own checks of a prefix.
template <class Data, class Writer>
void CheckRecordPrefixes(const Writer& w,
                         const std::function<void(const Data& part, const Data& full, size_t cut)>& more = {})
{
    const std::vector<uint8_t> bytes = w.Build();
    Data full;
    ASSERT_TRUE(full.LoadBytes(AsBytes(bytes)));
    const size_t textBlockEnd = w.TextBlockOffset() + w.TextBlock().size();
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        Data data;
        CheckPrefixResult(data.LoadBytes(AsBytes(bytes).first(cut)), cut, Data::kSignature, bytes.size());
        ASSERT_LE(data.LineCount(), full.LineCount()) << cut;
        ASSERT_LE(data.ArcCount(), full.ArcCount()) << cut;
        ASSERT_LE(data.TextCount(), full.TextCount()) << cut;
        ASSERT_LE(data.PointCount(), full.PointCount()) << cut;
        for (size_t i = 0; i < data.LineCount(); ++i)
            ASSERT_EQ(data.Lines[i], w.LinesStart() + 22 * (i + 1) <= cut ? full.Lines[i] : LineRecord{}) << cut;
        for (size_t i = 0; i < data.ArcCount(); ++i)
            ASSERT_EQ(data.Arcs[i], w.ArcsStart() + 32 * (i + 1) <= cut ? full.Arcs[i] : ArcRecord{}) << cut;
        for (size_t i = 0; i < data.PointCount(); ++i)
            ASSERT_EQ(data.Points[i], w.PointsStart() + 12 * (i + 1) <= cut ? full.Points[i] : PointRecord{}) << cut;
        for (size_t i = 0; i < data.TextCount(); ++i) {
            const bool recordRead = w.TextsStart() + 24 * (i + 1) <= cut;
            ASSERT_EQ(data.Texts[i].Address, recordRead ? full.Texts[i].Address : 0u) << cut;
            ASSERT_EQ(data.Texts[i].Text, textBlockEnd <= cut ? full.Texts[i].Text : "") << cut;
        }
        if (more) more(data, full, cut);
    }
}

}  // namespace fixture
