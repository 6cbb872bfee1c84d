#pragma once
// Where lifted lines go: the edges and wall triangles THeights makes, in store units (z is
// metres * 1000). The figure store is one sink; the CAD drawing is another.
#include "figures/FigUnit.h"
#include "figures/FigureList.h"
#include "figures/Pen.h"
#include "figures/PrimitivesEmit.h"

class THeightSink {
public:
    virtual ~THeightSink() = default;
    // Whether a point may be drawn at all (lines with an end that may not are dropped).
    virtual bool Drawable(const primitives::TOutPoint& p) const = 0;
    virtual void Segment(TPen pen, const TFigPoint& a, const TFigPoint& b) = 0;
    virtual void Triangle(TPen pen, const TFigPoint& a, const TFigPoint& b, const TFigPoint& c) = 0;
};

class TStoreHeightSink final : public THeightSink {
public:
    explicit TStoreHeightSink(TFigureStore& store) : store_(store) {}
    bool Drawable(const primitives::TOutPoint& p) const override { return primitives::Drawable(store_, p); }
    void Segment(TPen pen, const TFigPoint& a, const TFigPoint& b) override
    {
        store_.AddLine3D(pen.layer, pen.color, a, b);
    }
    void Triangle(TPen pen, const TFigPoint& a, const TFigPoint& b, const TFigPoint& c) override
    {
        store_.AddTriangle3D(pen.layer, pen.color, a, b, c);
    }

private:
    TFigureStore& store_;
};
