#include <cstdio>

int main()
{
    std::fprintf(stderr, "frostpick-calc: not available yet\n");
    return 1;
}
