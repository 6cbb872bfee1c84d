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

namespace {

// Gives back a list's unused room when it is more than an eighth: a list that grew by
// doubling just past its last step is not copied again for a few percent.
template <typename T>
void TrimIfLoose(std::vector<T>& list)
{
    if (list.capacity() - list.size() > list.capacity() / 8) list.shrink_to_fit();
}

}  // namespace

void TJwwRecordLists::TrimToCounts()
{
    TrimIfLoose(lines);
    TrimIfLoose(arcs);
    TrimIfLoose(points);
    TrimIfLoose(texts);
    TrimIfLoose(dimensions);
    TrimIfLoose(solids);
    TrimIfLoose(blockInserts);
}
