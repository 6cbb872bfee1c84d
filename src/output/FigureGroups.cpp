#include "output/FigureGroups.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "util/LargePages.h"
#include "util/OrderedTasks.h"

namespace {

// A Figure's (layer, colour) pair as the census counts it: a layer outside 0..255 as 0 and a
// colour outside 1..5266 as 1.
constexpr std::size_t kColorKeys = kPaletteSize + 1;

struct TPairKey {
    std::size_t layer, color;
    bool exact;  // the Figure's own layer and colour are in range
};

TPairKey KeyOf(const TFigurePen& pen)
{
    const bool layerInRange = pen.Layer >= 0 && pen.Layer < kFigLayerCount;
    const bool colorInRange = pen.Color >= 1 && pen.Color <= kPaletteSize;
    const std::size_t layer = layerInRange ? static_cast<std::size_t>(pen.Layer) : 0;
    const std::size_t color = colorInRange ? static_cast<std::size_t>(pen.Color) : 1;
    return {layer, color, layerInRange && colorInRange};
}

// A Figure's pair packed in 32 bits: colour (bits 0-12), layer (13-20), whether it is a
// member (21) and its point count (22-24); kNotDrawn for a Figure of another kind.
constexpr uint32_t kLayerShift = 13, kMemberBit = 1u << 21, kPointsShift = 22;
constexpr uint32_t kNotDrawn = UINT32_MAX;
// A store smaller than this is grouped on the calling thread alone.
constexpr std::size_t kFiguresPerPart = 1 << 16;
static_assert(kPaletteSize < (1 << kLayerShift) && kFigLayerCount <= (1 << 8));

}  // namespace

bool IsDrawnKind(int32_t kind) { return kind == fkLine || kind == fkTriangle || kind == fkQuad; }

bool IsGroupMember(const TFigurePen& pen) { return IsDrawnKind(pen.Kind) && KeyOf(pen).exact; }

namespace {

// A part of the store, read by one thread: its first and last index, the colours used in it,
// and then its counts per pair key.
struct TPart {
    std::size_t First = 0, Last = 0;
    TMemberBounds Bounds;       // when asked for
    std::vector<uint8_t> Used;  // by colour key
    std::vector<uint32_t> Members, Points, Counted;  // by pair key; Members becomes the placing offset
};

// Runs work(part) for every part, each on a thread of its own while there are threads.
void ForEachPart(std::vector<TPart>& parts, const std::function<void(TPart&)>& work)
{
    RunInOrder<int>(
        parts.size(), static_cast<unsigned>(parts.size()), parts.size(),
        [&](std::size_t p) {
            work(parts[p]);
            return 0;
        },
        [](std::size_t, int&&) {});
}

// Reads every Figure's pair into `pairs` and marks the colours each part uses; with
// `bounds`, finds each part's box of its members' points.
void ReadPairs(const TFigureStore& store, uint32_t* pairs, std::vector<TPart>& parts, bool bounds)
{
    ForEachPart(parts, [&](TPart& part) {
        part.Used.assign(kColorKeys, 0);
        TMemberBounds box;  // on this thread's stack while the part is read
        const auto widen = [&box](double x, double y, double z) { box.Add(x, y, z); };
        for (std::size_t i = part.First; i < part.Last; ++i) {
            const TFigurePen pen = store.Figures.PenOf(i);
            if (!IsDrawnKind(pen.Kind)) {
                pairs[i] = kNotDrawn;
                continue;
            }
            const TPairKey k = KeyOf(pen);
            if (bounds && k.exact) store.Figures.ForEachPoint(i, pen.Kind, widen);
            part.Used[k.color] = 1;
            pairs[i] = static_cast<uint32_t>(k.color) | static_cast<uint32_t>(k.layer) << kLayerShift |
                       (k.exact ? kMemberBit : 0) | static_cast<uint32_t>(FigurePointCount(pen.Kind)) << kPointsShift;
        }
        part.Bounds = box;
    });
}

// The group of every key counted, in key order (layer, then colour number). Each part's member
// count becomes the place of its first member of the key. Answers the number of members.
uint32_t MakeGroups(std::vector<TPart>& parts, const std::vector<int32_t>& colorOf, std::vector<TFigureGroup>& groups)
{
    const std::size_t colors = colorOf.size();
    uint32_t next = 0;
    for (std::size_t key = 0; key < kFigLayerCount * colors; ++key) {
        uint32_t points = 0, counted = 0;
        const uint32_t first = next;
        for (TPart& part : parts) {
            points += part.Points[key];
            counted += part.Counted[key];
            next += std::exchange(part.Members[key], next);
        }
        if (counted != 0)
            groups.push_back({static_cast<int32_t>(key / colors), colorOf[key % colors], first, next, points, counted});
    }
    return next;
}

}  // namespace

// A counting sort by pair straight into the member list. The store is read once, into packed
// pairs (it is large, and a geometry's Figures lie far apart in it); the later passes read the
// pairs. The colours that occur are numbered in ascending order, so the counts span the layers
// times the colours in use (a few thousand) rather than every pair of the palette (1.3
// million), which would cost a small drawing more than the rest of its conversion. Then one
// pass counts every pair's Figures and members' points, and one places the members in order.
// Each pass reads the store in contiguous parts, one a thread; a part places its members
// after those of the parts before it, so the result does not depend on the threads.
TFigureGroups GroupFigures(const TFigureStore& store, unsigned threads, TMemberBounds* bounds)
{
    const std::size_t count = store.Figures.size();
    const std::size_t partCount = count < kFiguresPerPart ? 1 : std::max(1u, threads);
    std::vector<TPart> parts(partCount);
    for (std::size_t p = 0; p < partCount; ++p) {
        parts[p].First = count * p / partCount;
        parts[p].Last = count * (p + 1) / partCount;
    }
    // Left unwritten until ReadPairs fills every element: clearing it first would be one more
    // pass over it, on this thread alone.
    const TLargeArray<uint32_t> pairs = MakeLargeArray<uint32_t>(count, true);
    ReadPairs(store, pairs.get(), parts, bounds != nullptr);
    if (bounds) {
        *bounds = {};
        for (const TPart& part : parts) bounds->Add(part.Bounds);
    }

    std::vector<uint32_t> rank(kColorKeys, 0);  // colour -> its number among those in use + 1
    std::vector<int32_t> colorOf;              // number -> colour
    for (std::size_t c = 0; c < kColorKeys; ++c)
        if (std::any_of(parts.begin(), parts.end(), [c](const TPart& part) { return part.Used[c] != 0; })) {
            colorOf.push_back(static_cast<int32_t>(c));
            rank[c] = static_cast<uint32_t>(colorOf.size());
        }
    const std::size_t colors = colorOf.size(), keys = kFigLayerCount * colors;
    const auto keyOf = [&](uint32_t pair) {
        return (pair >> kLayerShift & 0xFF) * colors + rank[pair & ((1u << kLayerShift) - 1)] - 1;
    };

    ForEachPart(parts, [&](TPart& part) {
        part.Members.assign(keys, 0);
        part.Points.assign(keys, 0);
        part.Counted.assign(keys, 0);
        for (std::size_t i = part.First; i < part.Last; ++i) {
            const uint32_t pair = pairs[i];
            if (pair == kNotDrawn) continue;
            const std::size_t key = keyOf(pair);
            ++part.Counted[key];
            if (pair & kMemberBit) {
                ++part.Members[key];
                part.Points[key] += pair >> kPointsShift;
            }
        }
    });

    TFigureGroups result;
    const uint32_t members = MakeGroups(parts, colorOf, result.Groups);
    ReserveLarge(result.Members, members);
    result.Members.resize(members);
    ForEachPart(parts, [&](TPart& part) {
        for (std::size_t i = part.First; i < part.Last; ++i)
            if (pairs[i] != kNotDrawn && (pairs[i] & kMemberBit)) result.Members[part.Members[keyOf(pairs[i])]++] = static_cast<uint32_t>(i);
    });
    return result;
}
