#include "formats/jww/jwwtype.h"

size_t TJwwRecordLists::Count(EJwwKind kind) const
{
    switch (kind) {
    case EJwwKind::Line: return lines.size();
    case EJwwKind::Arc: return arcs.size();
    case EJwwKind::Point: return points.size();
    case EJwwKind::Text: return texts.size();
    case EJwwKind::Dimension: return dimensions.size();
    case EJwwKind::Solid: return solids.size();
    case EJwwKind::Block: return blockInserts.size();
    }
    return 0;
}

void TJwwRecordLists::TrimToCounts()
{
    lines.shrink_to_fit();
    arcs.shrink_to_fit();
    points.shrink_to_fit();
    texts.shrink_to_fit();
    dimensions.shrink_to_fit();
    solids.shrink_to_fit();
    blockInserts.shrink_to_fit();
}

void TJwwRecordLists::ClearLists()
{
    // Swapping with empty vectors gives the memory back, which clear() would not.
    lines = {};
    arcs = {};
    points = {};
    texts = {};
    dimensions = {};
    solids = {};
    blockInserts = {};
}
