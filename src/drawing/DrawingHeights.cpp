#include "drawing/DrawingHeights.h"

#include <cmath>
#include <utility>
#include <vector>

namespace drawing {

namespace {

// Beyond this a model coordinate is no place to draw (nor NaN nor infinite).
constexpr double kLargestCoordinate = 1e15;

// Lifted lines and faces into an entity list. The pen's colour is the index of the line the
// figure comes from: its attributes (colour, line type, weight) go with every figure it makes.
class TEntitySink final : public THeightSink {
public:
    TEntitySink(const std::vector<TLine>& source, TEntities& out, std::vector<TLine>& lifted)
        : source_(source), out_(out), lifted_(lifted)
    {
    }
    bool Drawable(const primitives::TOutPoint& p) const override
    {
        return std::fabs(p.x) <= kLargestCoordinate && std::fabs(p.y) <= kLargestCoordinate;
    }
    void Segment(TPen pen, const TFigPoint& a, const TFigPoint& b) override
    {
        lifted_.push_back({Of(pen), a.x, a.y, b.x, b.y, a.z, b.z});
    }
    void Triangle(TPen pen, const TFigPoint& a, const TFigPoint& b, const TFigPoint& c) override
    {
        out_.faces.push_back({Of(pen), {a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z}});
    }

private:
    const TAttributes& Of(TPen pen) const { return source_[static_cast<size_t>(pen.color)].a; }

    const std::vector<TLine>& source_;
    TEntities& out_;
    std::vector<TLine>& lifted_;
};

// One list by its own texts: a member that takes its placement's layer neither marks nor
// lifts, as its layer is not known here.
void LiftList(TEntities& e, double scale, THeights& heights, const TConversionContext& context, size_t& outOfRange)
{
    heights.Begin(context.Options, context.Names);
    if (!heights.Active()) return;
    if (heights.ReadsTexts()) {
        heights.ReserveMarks(e.texts.size());
        for (const TText& t : e.texts)
            if (t.a.layer >= 0) heights.AddMark(t.a.layer, t.x / scale, t.y / scale, t.text);
        outOfRange += heights.OutOfRange;
    }
    if (e.lines.empty()) return;
    std::vector<TLine> source = std::move(e.lines), lifted;
    e.lines.clear();
    TEntitySink sink(source, e, lifted);
    for (size_t i = 0; i < source.size(); ++i) {
        const TLine& l = source[i];
        const TPen pen{l.a.layer, static_cast<int32_t>(i)};
        if (l.a.layer < 0 || !heights.LiftLine(sink, pen, l.x1 / scale, l.y1 / scale, l.x2 / scale, l.y2 / scale, scale))
            e.lines.push_back(l);
    }
    heights.AddCaps(sink);
    e.lines.insert(e.lines.end(), lifted.begin(), lifted.end());
}

}  // namespace

void LiftDrawingHeights(TConversionContext& context)
{
    const TConversionOptions& o = context.Options;
    if (o.Heights == THeightUnit::Off && o.Extrude.empty()) return;
    TDrawing& d = context.Drawing;
    size_t outOfRange = 0;
    LiftList(d.model, d.scale, context.Heights, context, outOfRange);
    // A dimension's drawing is not the building's: it stays flat, as in the other documents.
    for (TBlock& b : d.blocks)
        if (!b.dimension) LiftList(b.entities, d.scale, context.Heights, context, outOfRange);
    context.Heights.OutOfRange = outOfRange;
}

}  // namespace drawing
