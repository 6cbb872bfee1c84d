// Writes the shadow-diagram fixtures of both screens for checks outside the C++ tests (the
// page's): write_shadow_diagrams DIR  ->  DIR/shadow-light.jww, DIR/shadow-dark.jww
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/ShadowDiagram.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_shadow_diagrams DIR\n");
        return 2;
    }
    for (const bool light : {true, false}) {
        const std::filesystem::path path = std::filesystem::path(argv[1]) / (light ? "shadow-light.jww" : "shadow-dark.jww");
        const std::vector<uint8_t> bytes = jwwfixture::BuildShadowDiagram(light);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "write_shadow_diagrams: cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}
