// Writes the example drawing: make_example_plan [path]   (default examples/plan.jww)
#include <cstdio>
#include <fstream>
#include <vector>

#include "support/ExamplePlan.h"

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "examples/plan.jww";
    const std::vector<uint8_t> bytes = jwwfixture::BuildExamplePlan();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_example_plan: cannot write %s\n", path);
        return 1;
    }
    std::printf("%s: %zu bytes\n", path, bytes.size());
    return 0;
}
