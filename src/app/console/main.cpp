// Placeholder front end until the command line lands.
#include <cstdio>

int main()
{
    std::puts("tessaro " TESSARO_VERSION);
    return 0;
}
