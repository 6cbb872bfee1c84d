#pragma once
// The line writer of the COLLADA documents: CR LF lines, fixed-point numbers with nine
// decimals, stored coordinates scaled to output units, and face normals.
#include <cmath>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "figures/ColladaNumbers.h"
#include "figures/FigUnit.h"
#include "util/BufferedFile.h"

constexpr std::string_view kPositionIndent = "          ";  // ten blanks
constexpr std::string_view kIndexIndent = "        ";      // eight blanks

// Writes the document's lines: every Line ends with CR LF.
class TDocument {
public:
    TDocument(TBufferedFile& file, double scale) : file_(file), scale_(scale) {}

    template <typename... Parts>
    void Line(const Parts&... parts)
    {
        (Put(parts), ...);
        file_.Write("\r\n");
    }

    void Put(std::string_view text) { file_.Write(text); }

    template <std::integral Integer>
    void Put(Integer value)
    {
        file_.WriteInt(static_cast<int64_t>(value));
    }

    void Fixed9(long double value)
    {
        char* p = file_.Reserve(kFixed9MaxChars);
        file_.Commit(FormatFixed9(value, p));
    }

    // A stored coordinate in output units; the product is formed in extended precision.
    void Coordinate(double stored) { Fixed9(static_cast<long double>(stored) * static_cast<long double>(scale_)); }

    void Point(const TFigPoint& p)
    {
        Coordinate(p.x);
        Put(" ");
        Coordinate(p.y);
        Put(" ");
        Coordinate(p.z);
    }

    // The points of a line of values, blank separated, after the ten-blank indent.
    void PointLine(const TFigPoint* points, int count)
    {
        Put(kPositionIndent);
        for (int i = 0; i < count; ++i) {
            if (i > 0) Put(" ");
            Point(points[i]);
        }
        Put("\r\n");
    }

    // The unit normal of the triangle (p1, a, b); a degenerate one (length up to 1e-7) as it is.
    void Normal(const TFigPoint& p1, const TFigPoint& a, const TFigPoint& b)
    {
        const long double ux = static_cast<long double>(a.x) - p1.x, uy = static_cast<long double>(a.y) - p1.y,
                          uz = static_cast<long double>(a.z) - p1.z;
        const long double vx = static_cast<long double>(b.x) - p1.x, vy = static_cast<long double>(b.y) - p1.y,
                          vz = static_cast<long double>(b.z) - p1.z;
        long double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const long double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (length > 1e-7L) {
            nx /= length;
            ny /= length;
            nz /= length;
        }
        Fixed9(nx);
        Put(" ");
        Fixed9(ny);
        Put(" ");
        Fixed9(nz);
    }

private:
    TBufferedFile& file_;
    double scale_;
};

inline std::string GeometryId(int32_t layer, int32_t color)
{
    return "layer" + std::to_string(layer) + "-C" + std::to_string(color);
}
