// A module that loads but has no entry.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) int32_t StartSomethingElse(void)
{
    return 0;
}
