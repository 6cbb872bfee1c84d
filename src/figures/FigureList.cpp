#include "figures/FigureList.h"

#include <algorithm>
#include <stdexcept>

// Makes room for `count` slots, allocating the chunks before anything is counted. Chunks
// after the first are on large pages: the drawing is then a large one, and a small drawing
// would pay for clearing a whole large page it hardly uses.
template <typename T>
void TFigureList::Reserve(std::vector<TLargeArray<T>>& chunks, std::size_t count)
{
    if (count <= chunks.size() * kChunkSize) return;
    chunks.reserve(chunks.size() + 1);
    chunks.push_back(MakeLargeArray<T>(kChunkSize, !chunks.empty()));
}

void TFigureList::Add(int32_t kind, int32_t layer, int32_t color, const TPlanePoint* points, bool text)
{
    const bool shape = kind == fkTriangle || kind == fkQuad;
    const bool exception = !Fits16(layer) || !Fits16(color);
    // Every allocation first, so that a failure leaves the list as it was.
    Reserve(heads_, size_ + 1);
    if (shape) Reserve(tails_, tailCount_ + 1);
    if (!heights_.empty()) Reserve(heights_, size_ + 1);
    if (exception && exceptions_.size() == exceptions_.capacity())
        exceptions_.reserve(std::max<std::size_t>(2 * exceptions_.size(), 16));

    uint64_t bits = KindCode(kind, text) | (exception ? kExceptionBit : 0);
    if (shape) {
        TTail& tail = Slot(tails_, tailCount_);
        tail.p[0] = {points[2].x, points[2].y};
        tail.p[1] = kind == fkQuad ? TRawPoint{points[3].x, points[3].y} : TRawPoint{0, 0};
        bits |= static_cast<uint64_t>(tailCount_++) << kTailShift;
    }
    if (exception) {
        exceptions_.push_back({static_cast<uint32_t>(size_), layer, color});
    } else {
        bits |= PenBits(layer, color);
    }
    THead& head = Slot(heads_, size_);
    head.bits = bits;
    head.p[0] = {points[0].x, points[0].y};
    head.p[1] = {points[1].x, points[1].y};
    if (!heights_.empty()) Slot(heights_, size_) = {};
    ++size_;
}

void TFigureList::Add(int32_t kind, int32_t layer, int32_t color, const TPlanePoint* points, const double* heights)
{
    MakeHeights();  // first: a failure leaves the list as it was
    Add(kind, layer, color, points);
    double* z = Slot(heights_, size_ - 1).z;
    std::copy_n(heights, FigurePointCount(kind), z);
}

// Makes the heights list once, for every Figure so far (they stand at z = 0).
void TFigureList::MakeHeights()
{
    if (!heights_.empty()) return;
    std::vector<TLargeArray<THeights>> made;
    for (std::size_t i = 0; i <= size_; i += kChunkSize) Reserve(made, i + 1);
    for (std::size_t i = 0; i < size_; ++i) Slot(made, i) = {};
    heights_.swap(made);
}

TFigurePen TFigureList::ExceptionPen(std::size_t index, int32_t kind) const
{
    const auto hit = std::lower_bound(exceptions_.begin(), exceptions_.end(), index,
                                      [](const TPenException& e, std::size_t i) { return e.index < i; });
    return {kind, hit->layer, hit->color};
}

TFigure TFigureList::at(std::size_t index) const
{
    if (index >= size_) throw std::out_of_range("TFigureList::at");
    return (*this)[index];
}

void TFigureList::clear()
{
    std::vector<TLargeArray<THead>>().swap(heads_);
    std::vector<TLargeArray<TTail>>().swap(tails_);
    std::vector<TLargeArray<THeights>>().swap(heights_);
    std::vector<TPenException>().swap(exceptions_);
    size_ = 0;
    tailCount_ = 0;
}
