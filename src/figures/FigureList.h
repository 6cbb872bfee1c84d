#pragma once
// The figure store's list: Figures packed in fixed-size chunks. Most drawings are plane, so a
// segment needs only its two 2D points and a header of 8 bytes (40 bytes in all); the third
// and fourth points of triangles and quadrilaterals live in a second list. The heights of a
// lifted drawing live in a third list, made only when the first Figure off z = 0 is added.
// Chunks are never moved, so growing never holds two copies of the list. Reading a Figure
// decodes it into a TFigure.
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "util/LargePages.h"

enum : int32_t { fkLine = 1, fkTriangle = 11, fkQuad = 12 };

// The number of points a drawn figure kind uses: 2, 3 or 4.
constexpr int FigurePointCount(int32_t kind) { return kind == fkLine ? 2 : kind == fkTriangle ? 3 : 4; }

struct TFigPoint {
    double x = 0, y = 0, z = 0;
};

// A Figure as the writers read it: kind, layer, 1-based palette index and up to four points.
// Text marks a segment of a text's outline, which a document may keep apart.
struct TFigure {
    int32_t Kind = 0;
    int32_t Layer = 0;
    int32_t Color = 0;
    TFigPoint Points[4];
    bool Text = false;
};

// A Figure's kind, layer and colour, read without its points.
struct TFigurePen {
    int32_t Kind = 0;
    int32_t Layer = 0;
    int32_t Color = 0;
    bool Text = false;
};

struct TPlanePoint {
    double x = 0, y = 0;
};

class TFigureList {
public:
    static constexpr std::size_t kChunkSize = std::size_t{1} << 16;

    // Appends a Figure of `kind` (fkLine, fkTriangle or fkQuad) with its 2, 3 or 4 points;
    // `text` marks a segment of a text's outline. Throws std::bad_alloc with the list
    // unchanged when memory runs out.
    void Add(int32_t kind, int32_t layer, int32_t color, const TPlanePoint* points, bool text = false);
    // A plane segment (a drawing's most common Figure) as Add would store it, written here
    // when it fits the last chunk with its layer and colour in 16 bits each.
    void AddSegment(int32_t layer, int32_t color, const TPlanePoint* points, bool text)
    {
        if (size_ >= heads_.size() * kChunkSize || !heights_.empty() || !Fits16(layer) || !Fits16(color))
            return Add(fkLine, layer, color, points, text);
        THead& head = Slot(heads_, size_);
        head.bits = KindCode(fkLine, text) | PenBits(layer, color);
        head.p[0] = {points[0].x, points[0].y};
        head.p[1] = {points[1].x, points[1].y};
        ++size_;
    }
    // The same with a height for each point (`heights` holds 2, 3 or 4 values).
    void Add(int32_t kind, int32_t layer, int32_t color, const TPlanePoint* points, const double* heights);
    // True once a Figure off z = 0 was added.
    bool HasHeights() const { return !heights_.empty(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Figures that fit in the chunks allocated so far.
    std::size_t capacity() const { return heads_.size() * kChunkSize; }
    inline TFigure operator[](std::size_t index) const;
    TFigure at(std::size_t index) const;  // throws std::out_of_range
    inline TFigurePen PenOf(std::size_t index) const;
    // A Figure's kind (fkLine, fkTriangle or fkQuad), read without the rest of it.
    int32_t KindAt(std::size_t index) const { return KindOf(Slot(heads_, index).bits); }
    // Asks the processor to fetch the Figure's head (it may straddle two cache lines): a
    // writer walking a geometry's Figures, which lie far apart in the list, calls it a few
    // Figures ahead.
    void Prefetch(std::size_t index) const
    {
        const char* head = reinterpret_cast<const char*>(&Slot(heads_, index));
        __builtin_prefetch(head);
        __builtin_prefetch(head + sizeof(THead) - 1);
    }
    TFigure back() const { return (*this)[size_ - 1]; }
    // Calls visit(x, y, z) for each point of the Figure at `index`, whose kind is `kind`,
    // without decoding the rest of it: a pass over every point of a large store.
    template <class Visit>
    void ForEachPoint(std::size_t index, int32_t kind, Visit&& visit) const
    {
        const THead& head = Slot(heads_, index);
        const double* z = heights_.empty() ? nullptr : Slot(heights_, index).z;
        visit(head.p[0].x, head.p[0].y, z ? z[0] : 0.0);
        visit(head.p[1].x, head.p[1].y, z ? z[1] : 0.0);
        if (kind == fkLine) return;
        const TTail& tail = Slot(tails_, static_cast<std::size_t>((head.bits & 0xFFFFFFFF) >> kTailShift));
        visit(tail.p[0].x, tail.p[0].y, z ? z[2] : 0.0);
        if (kind == fkQuad) visit(tail.p[1].x, tail.p[1].y, z ? z[3] : 0.0);
    }
    // Frees every chunk.
    void clear();

    // Walks the Figures in order, each decoded into a TFigure.
    class const_iterator {
    public:
        const_iterator(const TFigureList& list, std::size_t index) : list_(&list), index_(index) {}
        TFigure operator*() const { return (*list_)[index_]; }
        const_iterator& operator++() { ++index_; return *this; }
        bool operator!=(const const_iterator& other) const { return index_ != other.index_; }
    private:
        const TFigureList* list_;
        std::size_t index_;
    };
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, size_}; }

private:
    // bits 0-1 kind (0 a text's segment, 1 a segment, 2 a triangle, 3 a quadrilateral), bit 2 "layer or colour in the exceptions", bits 3-31 tail index,
    // bits 32-47 layer, bits 48-63 colour.
    // Without default values, so that a new chunk is not written over before it is used: a
    // small drawing touches only the part of its first chunk it fills.
    struct TRawPoint {
        double x, y;
    };
    struct THead {
        uint64_t bits;
        TRawPoint p[2];
    };
    struct TTail {
        TRawPoint p[2];  // third and fourth points (the fourth unused by a triangle)
    };
    struct THeights {
        double z[4];
    };
    static_assert(std::is_trivially_default_constructible_v<THead> && std::is_trivially_default_constructible_v<TTail> &&
                  std::is_trivially_default_constructible_v<THeights>);
    // The exact layer and colour of a Figure whose values do not fit in 16 bits each.
    struct TPenException {
        uint32_t index;
        int32_t layer, color;
    };

    static constexpr uint64_t kKindBits = 0x3;
    static constexpr uint64_t kExceptionBit = 0x4;
    static constexpr int kTailShift = 3;
    static constexpr int kLayerShift = 32;
    static constexpr int kColorShift = 48;
    static int32_t KindOf(uint64_t bits)
    {
        const uint64_t code = bits & kKindBits;
        return code == 3 ? fkQuad : code == 2 ? fkTriangle : fkLine;
    }
    static bool IsText(uint64_t bits) { return (bits & kKindBits) == 0; }
    static constexpr uint64_t KindCode(int32_t kind, bool text)
    {
        return kind == fkQuad ? 3 : kind == fkTriangle ? 2 : text ? 0 : 1;
    }
    static constexpr bool Fits16(int32_t value) { return value >= 0 && value <= 0xFFFF; }
    // A layer and colour that fit in 16 bits each, in their place in a head's bits.
    static constexpr uint64_t PenBits(int32_t layer, int32_t color)
    {
        return static_cast<uint64_t>(layer) << kLayerShift | static_cast<uint64_t>(color) << kColorShift;
    }

    template <typename T>
    static T& Slot(const std::vector<TLargeArray<T>>& chunks, std::size_t index)
    {
        return chunks[index / kChunkSize][index % kChunkSize];
    }
    TFigurePen ExceptionPen(std::size_t index, int32_t kind) const;
    void MakeHeights();
    template <typename T>
    static void Reserve(std::vector<TLargeArray<T>>& chunks, std::size_t count);

    std::vector<TLargeArray<THead>> heads_;
    std::vector<TLargeArray<TTail>> tails_;
    std::vector<TLargeArray<THeights>> heights_;  // one per Figure once any is off the plane
    std::vector<TPenException> exceptions_;  // ascending index
    std::size_t size_ = 0;
    std::size_t tailCount_ = 0;
};

// Inline: the writers read every Figure once or more.
TFigurePen TFigureList::PenOf(std::size_t index) const
{
    const uint64_t bits = Slot(heads_, index).bits;
    TFigurePen pen = (bits & kExceptionBit) ? ExceptionPen(index, KindOf(bits))
                                            : TFigurePen{KindOf(bits), static_cast<int32_t>((bits >> kLayerShift) & 0xFFFF),
                                                         static_cast<int32_t>(bits >> kColorShift)};
    pen.Text = IsText(bits);
    return pen;
}

TFigure TFigureList::operator[](std::size_t index) const
{
    const TFigurePen pen = PenOf(index);
    TFigure f{pen.Kind, pen.Layer, pen.Color, {}, pen.Text};
    int i = 0;
    ForEachPoint(index, f.Kind, [&](double x, double y, double z) { f.Points[i++] = {x, y, z}; });
    return f;
}
