#include "figures/HeightCaps.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

double Cross(const TPlanePoint& o, const TPlanePoint& a, const TPlanePoint& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

int Side(double cross) { return cross > 0 ? 1 : cross < 0 ? -1 : 0; }

bool Within(const TPlanePoint& p, const TPlanePoint& a, const TPlanePoint& b)
{
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

// Whether segments ab and cd meet anywhere (touching and overlapping included).
bool Meet(const TPlanePoint& a, const TPlanePoint& b, const TPlanePoint& c, const TPlanePoint& d)
{
    const int d1 = Side(Cross(a, b, c)), d2 = Side(Cross(a, b, d)), d3 = Side(Cross(c, d, a)), d4 = Side(Cross(c, d, b));
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    return (d1 == 0 && Within(c, a, b)) || (d2 == 0 && Within(d, a, b)) || (d3 == 0 && Within(a, c, d)) ||
           (d4 == 0 && Within(b, c, d));
}

// True when no two edges of the polygon meet but neighbours at their shared corner.
bool IsSimple(const std::vector<TPlanePoint>& loop)
{
    const size_t n = loop.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            if (j == i + 1 || (i == 0 && j == n - 1)) continue;
            if (Meet(loop[i], loop[(i + 1) % n], loop[j], loop[(j + 1) % n])) return false;
        }
    return true;
}

bool InTriangle(const TPlanePoint& p, const TPlanePoint& a, const TPlanePoint& b, const TPlanePoint& c)
{
    return Cross(a, b, p) >= 0 && Cross(b, c, p) >= 0 && Cross(c, a, p) >= 0;
}

// Ear clipping of a simple counter-clockwise polygon: triangles as corner numbers, or nothing
// when no ear is found (a polygon rounding has made inconsistent) or `work` runs out (each
// corner tested against an ear costs one).
std::vector<size_t> Triangulate(const std::vector<TPlanePoint>& loop, size_t& work)
{
    std::vector<size_t> left(loop.size()), triangles;
    for (size_t i = 0; i < left.size(); ++i) left[i] = i;
    size_t k = 0;  // the search goes on from the last ear: a convex polygon costs n * n in all
    while (left.size() > 3) {
        bool clipped = false;
        for (size_t tried = 0; tried < left.size() && !clipped; ++tried, k = (k + 1) % left.size()) {
            const size_t p = left[(k + left.size() - 1) % left.size()], i = left[k], q = left[(k + 1) % left.size()];
            const double turn = Cross(loop[p], loop[i], loop[q]);
            if (turn < 0) continue;
            if (work < left.size()) return {};
            work -= left.size();
            // A straight corner has no inside: it just goes.
            const bool empty = turn == 0 || std::none_of(left.begin(), left.end(), [&](size_t m) {
                return m != p && m != i && m != q && InTriangle(loop[m], loop[p], loop[i], loop[q]);
            });
            if (!empty) continue;
            if (turn > 0) triangles.insert(triangles.end(), {p, i, q});
            left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
            k = k % left.size();
            clipped = true;
            break;
        }
        if (!clipped) return {};
    }
    if (Cross(loop[left[0]], loop[left[1]], loop[left[2]]) > 0) triangles.insert(triangles.end(), left.begin(), left.end());
    return triangles;
}

// The edges as a graph: corners numbered, and each corner's edges.
struct TCornerGraph {
    std::vector<size_t> cornerA, cornerB;    // per edge
    std::vector<size_t> first, incident;     // corner c's edges: incident[first[c] .. first[c + 1])

    explicit TCornerGraph(const std::vector<TCapEdge>& edges)
    {
        std::unordered_map<uint64_t, size_t> number;
        const auto corner = [&](uint64_t key) { return number.try_emplace(key, number.size()).first->second; };
        for (const TCapEdge& e : edges) {
            cornerA.push_back(corner(e.KeyA));
            cornerB.push_back(corner(e.KeyB));
        }
        first.assign(number.size() + 1, 0);
        for (size_t e = 0; e < edges.size(); ++e) ++first[cornerA[e] + 1], ++first[cornerB[e] + 1];
        for (size_t c = 1; c < first.size(); ++c) first[c] += first[c - 1];
        incident.resize(first.back());
        std::vector<size_t> fill(first.begin(), first.end() - 1);
        for (size_t e = 0; e < edges.size(); ++e) incident[fill[cornerA[e]]++] = e, incident[fill[cornerB[e]]++] = e;
    }
    size_t Degree(size_t c) const { return first[c + 1] - first[c]; }
    size_t Other(size_t e, size_t c) const { return cornerA[e] == c ? cornerB[e] : cornerA[e]; }
};

// Marks every edge of the component that holds `corner` as seen.
void MarkComponent(const TCornerGraph& graph, size_t corner, std::vector<bool>& seen, std::vector<bool>& cornerSeen)
{
    std::vector<size_t> corners{corner};
    cornerSeen[corner] = true;
    while (!corners.empty()) {
        const size_t c = corners.back();
        corners.pop_back();
        for (size_t k = graph.first[c]; k < graph.first[c + 1]; ++k) {
            const size_t e = graph.incident[k];
            seen[e] = true;
            const size_t other = graph.Other(e, c);
            if (!cornerSeen[other]) {
                cornerSeen[other] = true;
                corners.push_back(other);
            }
        }
    }
}

}  // namespace

void AddCapFaces(const std::vector<TCapEdge>& edges, bool up, size_t& work,
                 const std::function<void(const TPlanePoint (&)[3], int32_t color)>& face)
{
    const TCornerGraph graph(edges);
    std::vector<bool> seen(edges.size(), false), cornerSeen(graph.first.size() - 1, false);
    for (size_t start = 0; start < edges.size(); ++start) {
        if (seen[start]) continue;
        // Walk the edges from corner to corner; the component is a loop only when every corner
        // on the way has exactly two edges and the walk comes back to where it began.
        std::vector<TPlanePoint> loop;
        bool closed = true;
        size_t edge = start, at = graph.cornerA[start];
        const size_t home = at;
        do {
            seen[edge] = true;
            loop.push_back(at == graph.cornerA[edge] ? edges[edge].A : edges[edge].B);
            at = graph.Other(edge, at);
            if (graph.Degree(at) != 2) {
                closed = false;
                break;
            }
            const size_t* pair = &graph.incident[graph.first[at]];
            edge = pair[0] == edge ? pair[1] : pair[0];
        } while (at != home);
        if (!closed) {
            MarkComponent(graph, graph.cornerA[start], seen, cornerSeen);
            continue;
        }
        const size_t n = loop.size();
        if (n < 3 || n > (size_t{1} << 24) || n * n / 2 > work) continue;
        work -= n * n / 2;
        double area = 0;
        for (size_t i = 0; i < n; ++i) area += loop[i].x * loop[(i + 1) % n].y - loop[(i + 1) % n].x * loop[i].y;
        if (!(std::fabs(area) > 0) || !IsSimple(loop)) continue;
        if (area < 0) std::reverse(loop.begin(), loop.end());
        const std::vector<size_t> triangles = Triangulate(loop, work);
        for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
            const TPlanePoint& a = loop[triangles[t]];
            const TPlanePoint corners[3] = {a, loop[triangles[t + (up ? 1 : 2)]], loop[triangles[t + (up ? 2 : 1)]]};
            face(corners, edges[start].Color);
        }
    }
}
