#pragma once
// Heights: the drawing's height texts and the layers a user raises make its lines 3D. A line
// whose end lies on a height text's start point (same layer, within kMarkTolerance in the
// drawing's own units) takes that text's interval there; an end without one stands at [0, 0],
// and every end of a raised layer at [min(0, h), max(0, h)]. A lifted line becomes its bottom
// and top edges, a vertical edge at each end whose interval is not one height (once per
// layer, corner and interval), and the wall between them. Closed loops of top edges at one
// height get a roof, of bottom edges off the ground a floor.
//
// The walkers call, for one file: Begin, AddMark for every text in file order, then LiftLine
// for every line (and LiftPolyline for every arc's points) in place of drawing it flat, then
// AddCaps once every line is drawn. Inactive (no option given), every call costs a test.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/ConversionOptions.h"
#include "figures/FigUnit.h"
#include "figures/HeightCaps.h"
#include "figures/HeightSink.h"
#include "figures/Pen.h"
#include "figures/PrimitivesEmit.h"

struct TDrawingNames;

class THeights {
public:
    // Distance in drawing units, in x and in y, within which a line end takes a mark.
    static constexpr double kMarkTolerance = 1e-4;
    // The effort the roofs and floors of one file may take (about a second).
    static constexpr size_t kCapWork = 400'000'000;

    // Starts a file (the walker's first step): the options' unit and raised layers, each
    // layer found by its position ("0-1", "2-A") or by its name in `names`.
    void Begin(const TConversionOptions& options, const TDrawingNames& names);
    bool Active() const { return readsTexts_ || anyRaised_; }
    bool ReadsTexts() const { return readsTexts_; }

    // A text of the drawing at (x, y) on `layer`: a height text marks the point (a later mark
    // of the same point replaces it). True when the text is used as a mark, so it is not drawn.
    // A height beyond the limit marks nothing and is counted in OutOfRange.
    bool AddMark(int32_t layer, double x, double y, std::string_view text);
    // Room for this many marks, so that adding them never rehashes.
    void ReserveMarks(size_t count) { marks_.reserve(count); }
    // Whether the text would be a mark (AddMark's answer, without marking).
    bool IsMark(std::string_view text) const;

    // The line from (x1, y1) to (x2, y2) in drawing units, drawn at `scale`: lifted into the
    // sink when an end is marked or its layer rises (true), else left to the caller (false).
    bool LiftLine(THeightSink& sink, TPen pen, double x1, double y1, double x2, double y2, double scale);
    bool LiftLine(TFigureStore& store, TPen pen, double x1, double y1, double x2, double y2, double scale)
    {
        TStoreHeightSink sink(store);
        return LiftLine(sink, pen, x1, y1, x2, y2, scale);
    }
    // An arc's points, already scaled: lifted segment by segment when its layer rises (true).
    bool LiftPolyline(TFigureStore& store, TPen pen, std::span<const primitives::TOutPoint> points, double scale);
    // The roofs and floors of the loops the lifted lines close, each triangle with the pen of
    // the loop's first edge.
    void AddCaps(THeightSink& sink);
    void AddCaps(TFigureStore& store)
    {
        TStoreHeightSink sink(store);
        AddCaps(sink);
    }

    size_t OutOfRange = 0;  // height texts beyond kMaxHeightMetres in this file

private:
    // A place where line ends meet: marked by a text or, on a raised layer, any line end.
    // The vertical edge of its interval is made once.
    struct TCorner {
        uint64_t Number = 0;
        bool VerticalMade = false;
    };
    struct TMark {
        double X, Y, Low, High;
        TCorner Corner;
    };
    // A line end's interval and the corner it stands on.
    struct TEnd {
        double Low = 0, High = 0;  // metres
        TCorner* Corner = nullptr;
    };
    struct TCell {
        int32_t Layer;
        int64_t X, Y;
        bool operator==(const TCell&) const = default;
    };
    struct TCellHash {
        size_t operator()(const TCell& c) const;
    };
    struct TCapKey {
        int32_t Layer;
        double Height;  // metres
        bool Top;
        bool operator==(const TCapKey&) const = default;
    };
    struct TCapKeyHash {
        size_t operator()(const TCapKey& k) const;
    };

    static std::optional<TCell> CellOf(int32_t layer, double x, double y, double size);
    TMark* MarkAt(int32_t layer, double x, double y);
    TEnd EndOf(int32_t layer, double x, double y, TMark* mark);
    void Lift(THeightSink& sink, TPen pen, const primitives::TOutPoint& p, const primitives::TOutPoint& q,
              const TEnd& a, const TEnd& b);
    void AddCapEdge(const TCapKey& key, const TCapEdge& edge);

    THeightUnit unit_ = THeightUnit::Off;
    bool readsTexts_ = false;
    bool anyRaised_ = false;
    std::array<std::optional<double>, 256> raised_{};  // metres, per layer
    // Marks by cells twice the tolerance wide: a line end's mark is in its own cell or in the
    // neighbour on the side of the cell the end is nearer to, in x and in y.
    std::unordered_map<TCell, TMark, TCellHash> marks_;
    std::unordered_map<TCell, TCorner, TCellHash> corners_;  // unmarked ends of raised layers
    uint64_t nextCorner_ = 0;
    std::unordered_map<TCapKey, std::vector<TCapEdge>, TCapKeyHash> caps_;
    std::vector<TCapEdge>* lastCaps_[2] = {nullptr, nullptr};  // floors, roofs: the last group used
    TCapKey lastCapKey_[2]{};
};
