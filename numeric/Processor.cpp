#include "numeric/Processor.h"

namespace oxw::numeric {

// __builtin_cpu_init makes the answers right even when asked before the static constructors run.
#if defined(__x86_64__) || defined(__i386__)
bool HasAvx2() {
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("avx2") != 0);
    return has;
}

bool HasFma() {
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("fma") != 0);
    return has;
}
#else
bool HasAvx2() { return false; }
bool HasFma() { return false; }
#endif

}  // namespace oxw::numeric
