#include "output/WeldedGeometry.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "output/RoundHalfAway.h"

namespace {

// A coordinate as the weld compares it: output nanometres, or the raw bits of a value too
// large (or not finite) to count in nanometres.
struct TWeldKey {
    int64_t Parts[3];
    uint8_t Raw;  // bit i: Parts[i] holds raw bits
    bool operator==(const TWeldKey&) const = default;
};

// The values QuickRoundedNanometres cannot settle (rare), kept out of the welding loop.
[[gnu::noinline]] int64_t ExtendedKeyPart(double stored, double scale, uint8_t& raw, int axis)
{
    const long double nanometres = static_cast<long double>(stored) * scale * 1e9L;
    if (std::isfinite(nanometres) && std::fabs(nanometres) < 9e18L) return RoundHalfAway(nanometres);
    raw |= static_cast<uint8_t>(1u << axis);
    return std::bit_cast<int64_t>(stored);
}

inline int64_t KeyPart(double stored, double scale, uint8_t& raw, int axis)
{
    if (const std::optional<int64_t> quick = QuickRoundedNanometres(stored, scale)) return *quick;
    return ExtendedKeyPart(stored, scale, raw, axis);
}

// One multiply per part, the high half folded onto the low one (whose bits pick the slot):
// points on a grid share the low bits of their nanometres, which a product carries upwards only.
uint64_t Hash(const TWeldKey& k)
{
    uint64_t h = k.Raw ^ static_cast<uint64_t>(k.Parts[0]) * 0x9E3779B97F4A7C15ull;
    h ^= static_cast<uint64_t>(k.Parts[1]) * 0xC2B2AE3D27D4EB4Full;
    h ^= static_cast<uint64_t>(k.Parts[2]) * 0x165667B19E3779F9ull;
    return h ^ (h >> 32);
}

// Open addressing over vertex numbers, sized for every point of the group; the tables and
// the result keep their room from one group to the next. A vertex's key is not kept: it is
// made again from the vertex's stored point when a slot's tag matches, which keeps a group of
// ten million points 320 MB smaller.
class TWelder {
public:
    void Start(double scale, size_t points)
    {
        scale_ = scale;
        // Twice as many slots as points, so that a run stays short even when no point is
        // shared; a large group starts smaller and grows with its vertices (the discs of a
        // filled drawing share most of their points).
        size_t capacity = 16;
        while (capacity < 2 * points && capacity < kMaxStartSlots) capacity *= 2;
        slots_.assign(capacity, TSlot{});
        out_.Vertices.clear();
        out_.Vertices.reserve(points);
        out_.Segments.clear();
        out_.Triangles.clear();
    }

    uint32_t Vertex(const TFigPoint& p)
    {
        const TWeldKey key = KeyOf(p);
        const uint64_t hash = Hash(key);
        const auto tag = static_cast<uint32_t>(hash >> 32);
        const size_t mask = slots_.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            TSlot& slot = slots_[at];
            if (slot.Vertex == 0) {
                out_.Vertices.push_back(p);
                const auto number = static_cast<uint32_t>(out_.Vertices.size());
                slot = {number, tag};
                if (4 * out_.Vertices.size() > 3 * slots_.size()) Grow();
                return number - 1;
            }
            if (slot.Tag == tag && SameKey(out_.Vertices[slot.Vertex - 1], p, key)) return slot.Vertex - 1;
        }
    }

    // Twice the slots, every vertex placed again by its key.
    void Grow()
    {
        std::vector<TSlot> grown(2 * slots_.size());
        const size_t mask = grown.size() - 1;
        for (size_t v = 0; v < out_.Vertices.size(); ++v) {
            const uint64_t hash = Hash(KeyOf(out_.Vertices[v]));
            size_t at = hash & mask;
            while (grown[at].Vertex != 0) at = (at + 1) & mask;
            grown[at] = {static_cast<uint32_t>(v + 1), static_cast<uint32_t>(hash >> 32)};
        }
        slots_.swap(grown);
    }

    // The grown slots of a large group go once it is welded: the writer's next step needs the room.
    void Finish()
    {
        if (slots_.size() > kMaxStartSlots) std::vector<TSlot>().swap(slots_);
    }

    TWeldedGeometry& Out() { return out_; }

private:
    static constexpr size_t kMaxStartSlots = size_t{1} << 22;

    TWeldKey KeyOf(const TFigPoint& p) const
    {
        TWeldKey key{{0, 0, 0}, 0};
        key.Parts[0] = KeyPart(p.x, scale_, key.Raw, 0);
        key.Parts[1] = KeyPart(p.y, scale_, key.Raw, 1);
        if (p.z != 0) key.Parts[2] = KeyPart(p.z, scale_, key.Raw, 2);  // a zero's part is 0 (every plane point's)
        return key;
    }

    // Whether the vertex's key is `key`, the key of `p`: the same bits give the same key
    // (a polyline's shared points mostly have them), so the key is made only when they differ.
    bool SameKey(const TFigPoint& vertex, const TFigPoint& p, const TWeldKey& key) const
    {
        if (std::memcmp(&vertex, &p, sizeof p) == 0) return true;
        return KeyOf(vertex) == key;
    }

    TWeldedGeometry out_;
    double scale_ = 1;
    // A slot holds a vertex number + 1 (0: free) and its key's hash, high half: most keys
    // that share a slot's run but differ are told apart without making the vertex's key.
    struct TSlot {
        uint32_t Vertex = 0, Tag = 0;
    };
    std::vector<TSlot> slots_;
};

thread_local TWelder welder;

}  // namespace

const TWeldedGeometry& WeldGroup(const TFigureStore& store, const TFigureGroups& groups, const TFigureGroup& group,
                                 double scale, const TFigureFilter& keep)
{
    const std::span<const uint32_t> members = MembersOf(groups, group);
    welder.Start(scale, group.Points);
    TWeldedGeometry& out = welder.Out();
    ForEachFigure(store, members, [&](uint32_t m) {
        if (keep && !keep(store.Figures[m])) return;
        // The points straight from the store, without decoding the rest of the Figure.
        const int32_t kind = store.Figures.KindAt(m);
        uint32_t v[4];
        int i = 0;
        store.Figures.ForEachPoint(m, kind, [&](double x, double y, double z) { v[i++] = welder.Vertex({x, y, z}); });
        std::vector<uint32_t>& list = kind == fkLine ? out.Segments : out.Triangles;
        list.push_back(v[0]);
        list.push_back(v[1]);
        if (kind == fkLine) return;
        list.push_back(v[2]);
        if (kind != fkQuad) return;
        list.push_back(v[0]);
        list.push_back(v[2]);
        list.push_back(v[3]);
    });
    welder.Finish();
    return out;
}

TWeldMemoryScope::~TWeldMemoryScope() { welder = TWelder{}; }
