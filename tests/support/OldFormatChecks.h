#pragma once
// Files and checks shared by the tests of the two readers of the older record layouts (.JWC
// drawings and .JWK symbols), over files of their fixture writers.
#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <vector>

#include "formats/jwc/jwctype.h"
#include "support/ReaderLoads.h"

namespace fixture {

inline LineRecord MakeLine(float x1, float y1, float x2, float y2, uint8_t pen = 1, uint8_t layer = 0)
{
    LineRecord r;
    r.X1 = x1; r.Y1 = y1; r.X2 = x2; r.Y2 = y2;
    r.LineType = 1; r.PenColor = pen; r.Layer = layer;
    return r;
}

inline ArcRecord MakeArc(float cx, float cy, float radius)
{
    ArcRecord r;
    r.CenterX = cx; r.CenterY = cy; r.Radius = radius;
    r.Flattening = 1; r.StartAngle = 0; r.EndAngle = 360;
    r.LineType = 1; r.PenColor = 2; r.Layer = 3;
    return r;
}

inline PointRecord MakePoint(float x, float y)
{
    PointRecord r;
    r.X = x; r.Y = y; r.Layer = 4; r.PenColor = 5;
    return r;
}

// A file with some of everything (5 lines, 3 arcs, 2 texts, 4 points), for tests where the
// content itself does not matter.
template <class Writer> Writer MixedFile()
{
    Writer w;
    for (int i = 0; i < 5; ++i) w.Lines.push_back(MakeLine(i, i + 1, i + 2, i + 3, 1 + i % 9, static_cast<uint8_t>(i)));
    for (int i = 0; i < 3; ++i) w.Arcs.push_back(MakeArc(10.0f * i, 5, 2.5f + i));
    w.Texts.push_back({1, 2, 3, 4, {1, 2, 3, 4}, "ABC", {}});
    w.Texts.push_back({5, 6, 7, 8, {5, 6, 7, 8}, "\x93\xfa\x96\x7b", {}});
    for (int i = 0; i < 4; ++i) w.Points.push_back(MakePoint(i * 1.5f, -i * 2.0f));
    return w;
}

// A reader that has loaded the writer's file.
template <class Data, class Writer> Data LoadedFrom(const Writer& w)
{
    Data data;
    EXPECT_TRUE(data.LoadBytes(AsBytes(w.Build())));
    return data;
}

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
