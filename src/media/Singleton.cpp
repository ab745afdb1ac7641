#include "media/Singleton.h"

void singletonAssertFailed(const char* expression, int line) {
    // The same report as the runtime's assert, kept on in every build type.
    std::fprintf(stderr, "Assertion failed: %s, file singleton, line %d\n", expression, line);
    std::fflush(stderr);
    std::abort();
}
