// Block trees: one entry per placement, the drawing's own first, then breadth first the
// placements inside every placed definition, each with the transform composed down its chain.
#include <cstdint>
#include <cmath>
#include <vector>
#include <unordered_map>

#include "formats/jww/JwwEntityModel.h"

namespace {

// The placement's own matrix: scale, then rotate.
TBlockTransform PlacementMatrix(const TEntJwwBlock& insert)
{
    const long double r = insert.rotation;
    const long double sx = insert.scaleX;
    const long double sy = insert.scaleY;
    TBlockTransform t;
    t.m00 = static_cast<double>(sx * std::cos(r));
    t.m01 = static_cast<double>(-sy * std::sin(r));
    t.m10 = static_cast<double>(sx * std::sin(r));
    t.m11 = static_cast<double>(sy * std::cos(r));
    return t;
}

// `outer` applied after `inner`'s matrix, with the insertion point mapped by `outer`.
TBlockTransform Compose(const TBlockTransform& outer, const TEntJwwBlock& insert)
{
    const TBlockTransform local = PlacementMatrix(insert);
    const long double x = insert.x;
    const long double y = insert.y;
    TBlockTransform t;
    t.originX = static_cast<double>(outer.originX + static_cast<long double>(outer.m00) * x + outer.m01 * y);
    t.originY = static_cast<double>(outer.originY + static_cast<long double>(outer.m10) * x + outer.m11 * y);
    t.m00 = static_cast<double>(static_cast<long double>(outer.m00) * local.m00 + static_cast<long double>(outer.m01) * local.m10);
    t.m01 = static_cast<double>(static_cast<long double>(outer.m00) * local.m01 + static_cast<long double>(outer.m01) * local.m11);
    t.m10 = static_cast<double>(static_cast<long double>(outer.m10) * local.m00 + static_cast<long double>(outer.m11) * local.m10);
    t.m11 = static_cast<double>(static_cast<long double>(outer.m10) * local.m01 + static_cast<long double>(outer.m11) * local.m11);
    return t;
}

TEntJwwBlockTree MakeTreeEntry(const TEntJwwCommon& common, int32_t depth, int32_t parent, const TEntJwwBlock& insert,
                               const TBlockTransform& transform, int32_t defIndex)
{
    TEntJwwBlockTree entry;
    entry.common = common;
    entry.depth = depth;
    entry.parent = parent;
    entry.blockNumber = static_cast<int32_t>(insert.blockNumber);
    entry.defIndex = defIndex;
    entry.transform = transform;
    return entry;
}

// Stable order by depth; parents are renumbered to their new places.
void SortTreesBreadthFirst(std::vector<TEntJwwBlockTree>& trees)
{
    std::vector<size_t> perDepth;
    for (const TEntJwwBlockTree& t : trees) {
        const auto depth = static_cast<size_t>(t.depth);
        if (depth >= perDepth.size()) perDepth.resize(depth + 1, 0);
        ++perDepth[depth];
    }
    std::vector<size_t> next(perDepth.size(), 0);
    for (size_t d = 1; d < perDepth.size(); ++d) next[d] = next[d - 1] + perDepth[d - 1];
    std::vector<int32_t> place(trees.size());
    for (size_t i = 0; i < trees.size(); ++i) place[i] = static_cast<int32_t>(next[static_cast<size_t>(trees[i].depth)]++);
    std::vector<TEntJwwBlockTree> sorted(trees.size());
    for (size_t i = 0; i < trees.size(); ++i) {
        TEntJwwBlockTree& t = sorted[static_cast<size_t>(place[i])];
        t = trees[i];
        if (t.parent >= 0) t.parent = place[static_cast<size_t>(t.parent)];
    }
    trees = std::move(sorted);
}

// What one depth-limited walk below the drawing's placements found.
struct [[nodiscard]] TWalkResult {
    size_t entries = 0;    // entries below the roots (the drawing's own placements)
    bool deeper = false;   // some placement lies below the depth limit
    bool stopped = false;  // the entry bound or the work bound was reached
};

// Walks the placements below the drawing's own, depth first and down to a depth limit, with a
// mark on every definition of the current path, so that a definition placing itself (directly
// or through others) is found in constant time. Every placement looked at, skipped ones
// included, is work; a walk stops at kMaxWork.
class TTreeBuilder {
public:
    static constexpr size_t kMaxWork = 4 * TJwwEntityModel::kMaxBlockTrees;

    TTreeBuilder(const std::vector<TEntJwwBlockDef>& defs, std::vector<TEntJwwBlockTree>& trees)
        : defs_(defs), trees_(trees), onPath_(defs.size(), 0)
    {
        // The first definition in file order wins when several share a number.
        std::unordered_map<uint32_t, int32_t> first;
        for (size_t i = 0; i < defs.size(); ++i) first.emplace(defs[i].number, static_cast<int32_t>(i));
        auto definitionOf = [&](uint32_t number) {
            auto hit = first.find(number);
            return hit == first.end() ? -1 : hit->second;
        };
        nestedDefs_.resize(defs.size());
        for (size_t d = 0; d < defs.size(); ++d)
            for (const TEntJwwBlock& nested : defs[d].records.blockInserts)
                nestedDefs_[d].push_back(definitionOf(nested.blockNumber));
        rootDefs_ = std::move(first);
    }

    int32_t DefinitionOf(uint32_t number) const
    {
        auto hit = rootDefs_.find(number);
        return hit == rootDefs_.end() ? -1 : hit->second;
    }

    // Entries down to `depthLimit`, at most `maxEntries` of them; of those at the limit itself
    // only the first `quota`. With `store` they are appended to the trees.
    TWalkResult Walk(int32_t depthLimit, size_t maxEntries, size_t quota, bool store)
    {
        TWalkResult result;
        size_t work = 0, atLimit = 0;
        const auto roots = static_cast<int32_t>(rootCount_);
        for (int32_t root = 0; root < roots && !result.stopped; ++root) {
            Enter(root, trees_[static_cast<size_t>(root)].defIndex, 0);
            while (!path_.empty()) {
                TFrame& top = path_.back();
                const std::vector<int32_t>& nestedDefs = nestedDefs_[static_cast<size_t>(top.def)];
                if (top.next == nestedDefs.size() || result.stopped) {
                    onPath_[static_cast<size_t>(top.def)] = 0;
                    path_.pop_back();
                    continue;
                }
                const size_t i = top.next++;
                const int32_t nestedDef = nestedDefs[i];
                result.stopped = ++work > kMaxWork;
                if (result.stopped || (nestedDef >= 0 && onPath_[static_cast<size_t>(nestedDef)])) continue;
                const int32_t depth = top.depth + 1;
                if (depth == depthLimit && atLimit++ >= quota) continue;
                result.stopped = ++result.entries > maxEntries;
                if (result.stopped) continue;
                const int32_t entry = store ? Store(top, i, nestedDef) : -1;
                if (depth < depthLimit) Enter(entry, nestedDef, depth);
                else result.deeper = result.deeper || Places(nestedDef);
            }
        }
        return result;
    }

    void SetRootCount(size_t count) { rootCount_ = count; }

private:
    struct TFrame {
        int32_t entry;  // the stored entry, -1 when the walk stores nothing
        int32_t def;
        int32_t depth;
        size_t next;  // the next nested placement of the definition
    };

    // Nested members take the layer of the enclosing definition, not of the insert.
    int32_t Store(const TFrame& parent, size_t insertIndex, int32_t nestedDef)
    {
        const TEntJwwBlockDef& def = defs_[static_cast<size_t>(parent.def)];
        const TEntJwwBlock& nested = def.records.blockInserts[insertIndex];
        const TBlockTransform outer = trees_[static_cast<size_t>(parent.entry)].transform;
        trees_.push_back(MakeTreeEntry(def.common, parent.depth + 1, parent.entry, nested, Compose(outer, nested), nestedDef));
        return static_cast<int32_t>(trees_.size() - 1);
    }

    bool Places(int32_t def) const { return def >= 0 && !nestedDefs_[static_cast<size_t>(def)].empty(); }

    void Enter(int32_t entry, int32_t def, int32_t depth)
    {
        if (def < 0) return;
        path_.push_back({entry, def, depth, 0});
        onPath_[static_cast<size_t>(def)] = 1;
    }

    const std::vector<TEntJwwBlockDef>& defs_;
    std::vector<TEntJwwBlockTree>& trees_;
    std::unordered_map<uint32_t, int32_t> rootDefs_;
    std::vector<std::vector<int32_t>> nestedDefs_;
    std::vector<uint8_t> onPath_;
    std::vector<TFrame> path_;
    size_t rootCount_ = 0;
};

}  // namespace

// The entries are those a breadth-first visit would make, in its order, up to kMaxBlockTrees:
// depth-limited walks find the deepest level that fits whole (doubling, then halving the
// limit), and the last walk also takes the first entries of the next level in depth-first
// order, which within one level is breadth-first order. Sorting by depth then gives the order.
void TJwwEntityModel::BuildBlockTrees()
{
    blockTrees = {};
    blockTreesCut = false;
    if (blockInserts.empty()) return;
    TTreeBuilder builder(blockDefs, blockTrees);
    for (const TEntJwwBlock& insert : blockInserts) {
        if (blockTrees.size() >= kMaxBlockTrees) {
            blockTreesCut = true;
            return;
        }
        TBlockTransform t = PlacementMatrix(insert);
        t.originX = insert.x;
        t.originY = insert.y;
        blockTrees.push_back(MakeTreeEntry(insert.common, 0, -1, insert, t, builder.DefinitionOf(insert.blockNumber)));
    }
    builder.SetRootCount(blockTrees.size());
    const size_t room = kMaxBlockTrees - blockTrees.size();
    constexpr size_t kAll = SIZE_MAX;

    int32_t fits = 0, over = 0;  // the deepest limit known to fit, the shallowest known not to
    size_t fitting = 0;          // entries down to `fits`
    for (int32_t limit = 1; over == 0; limit *= 2) {
        const TWalkResult walk = builder.Walk(limit, room, kAll, false);
        if (walk.stopped) over = limit;
        else fits = limit, fitting = walk.entries;
        if (!walk.stopped && !walk.deeper) break;  // the whole tree fits
    }
    while (over > fits + 1) {
        const int32_t mid = fits + (over - fits) / 2;
        const TWalkResult walk = builder.Walk(mid, room, kAll, false);
        if (walk.stopped) over = mid;
        else fits = mid, fitting = walk.entries;
    }
    // The storing walk's counts are not needed: the measuring walks above chose its bounds.
    if (over == 0) {
        static_cast<void>(builder.Walk(fits, room, kAll, true));
    } else {
        blockTreesCut = true;
        static_cast<void>(builder.Walk(over, room, room - fitting, true));
    }
    SortTreesBreadthFirst(blockTrees);
}
