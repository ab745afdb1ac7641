// Shared by the bench programs: the resident-set figures of this process.
#pragma once

#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/SimPlatform.h"

// VmRSS or VmHWM of this process in KiB, from /proc/self/status.
inline long procStatusKiB(const char* field) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long value = -1;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0 && line[n] == ':') {
            std::sscanf(line + n + 1, "%ld", &value);
            break;
        }
    std::fclose(f);
    return value;
}
