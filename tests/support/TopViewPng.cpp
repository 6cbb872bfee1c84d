#include "support/TopViewPng.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBIW_WINDOWS_UTF8  // file names as UTF-8 on Windows too: the samples' names are Japanese
#include <stb_image_write.h>

#include "support/GlbReader.h"

namespace {

struct TSegment {
    double x1, y1, x2, y2;
    uint32_t rgb;
};

uint8_t ToSrgb(double linear)
{
    const double c = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<uint8_t>(std::clamp(c, 0.0, 1.0) * 255 + 0.5);
}

// Every segment of every mesh, a triangle as its three edges; positions are in the drawing's
// plane (x, y), relative to the root's centre.
std::vector<TSegment> SegmentsOf(const glb::TGlb& g)
{
    std::vector<TSegment> segments;
    if (!g.Json.Has("meshes")) return segments;
    for (const glb::TJson& mesh : g.Json["meshes"].Array) {
        for (const glb::TJson& p : mesh["primitives"].Array) {
            const glb::TJson& color = g.Json["materials"][p["material"].Index()]["pbrMetallicRoughness"]["baseColorFactor"];
            const uint32_t rgb = ToSrgb(color[0].Number) << 16 | ToSrgb(color[1].Number) << 8 | ToSrgb(color[2].Number);
            const std::vector<double> xyz = glb::AccessorValues(g, p["attributes"]["POSITION"].Index());
            const std::vector<double> index = glb::AccessorValues(g, p["indices"].Index());
            const size_t step = p["mode"].Number == 1 ? 2 : 3;
            for (size_t i = 0; i + step <= index.size(); i += step)
                for (size_t e = 0; e < (step == 2 ? 1 : 3); ++e) {
                    const size_t a = static_cast<size_t>(index[i + e]), b = static_cast<size_t>(index[i + (e + 1) % step]);
                    segments.push_back({xyz[3 * a], xyz[3 * a + 1], xyz[3 * b], xyz[3 * b + 1], rgb});
                }
        }
    }
    return segments;
}

}  // namespace

double WriteTopViewPng(std::string_view glbFile, const std::filesystem::path& png, int width, uint32_t background)
{
    const std::vector<TSegment> segments = SegmentsOf(glb::ReadGlb(glbFile));
    if (segments.empty() || width < 1) return 0;
    double lowX = INFINITY, lowY = INFINITY, highX = -INFINITY, highY = -INFINITY;
    for (const TSegment& s : segments) {
        lowX = std::min({lowX, s.x1, s.x2});
        highX = std::max({highX, s.x1, s.x2});
        lowY = std::min({lowY, s.y1, s.y2});
        highY = std::max({highY, s.y1, s.y2});
    }
    // Lines about a thousandth of the picture wide on each side of the centre, at least one
    // pixel: three pixels in a picture 1600 wide, which read at a glance when the picture is
    // shown smaller.
    const int pen = std::max(1, width / 1000), margin = 10 + pen;
    const double scale = std::max(width - 2 * margin, 1) / std::max({highX - lowX, (highY - lowY) / 4, 1e-9});
    const int height = std::clamp(static_cast<int>((highY - lowY) * scale) + 2 * margin, 2 * margin, 4 * width);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> pixels(count * 3);
    std::vector<uint32_t> colour(count, background);
    std::vector<bool> drawn(count, false);
    auto plot = [&](double x, double y, uint32_t rgb) {
        const int cx = static_cast<int>(margin + (x - lowX) * scale), cy = static_cast<int>(height - margin - (y - lowY) * scale);
        for (int py = std::max(cy - pen, 0); py <= std::min(cy + pen, height - 1); ++py)
            for (int px = std::max(cx - pen, 0); px <= std::min(cx + pen, width - 1); ++px) {
                const size_t at = static_cast<size_t>(py) * width + px;
                colour[at] = rgb;
                drawn[at] = true;
            }
    };
    for (const TSegment& s : segments) {
        const int steps = std::max(1, static_cast<int>(std::hypot(s.x2 - s.x1, s.y2 - s.y1) * scale * 2));
        for (int k = 0; k <= steps; ++k)
            plot(s.x1 + (s.x2 - s.x1) * k / steps, s.y1 + (s.y2 - s.y1) * k / steps, s.rgb);
    }
    size_t drawnCount = 0, unlike = 0;
    for (size_t i = 0; i < count; ++i) {
        pixels[3 * i] = colour[i] >> 16 & 0xFF, pixels[3 * i + 1] = colour[i] >> 8 & 0xFF, pixels[3 * i + 2] = colour[i] & 0xFF;
        drawnCount += drawn[i];
        unlike += drawn[i] && colour[i] != background;
    }
    const std::u8string name = png.u8string();
    if (drawnCount == 0 || !stbi_write_png(reinterpret_cast<const char*>(name.c_str()), width, height, 3, pixels.data(), width * 3))
        return 0;
    return static_cast<double>(unlike) / static_cast<double>(drawnCount);
}

std::filesystem::path TestPicturePath(std::string_view name)
{
    const std::filesystem::path folder = std::filesystem::path(TESSARO_TEST_PICTURES_DIR);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder / std::filesystem::path(std::u8string(name.begin(), name.end()));
}
