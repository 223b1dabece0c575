// SPDX-License-Identifier: GPL-3.0-or-later
// Reports "painted" with this process's resident memory at the watched window's first paint (before any child
// process exists); the program then runs on until killed. Shared by the start-up probe and its floor.
#pragma once

#include "platform/FirstPaint.h"

#include <cstdio>

inline void reportFirstPaint(QWidget *window) {
    velmora::afterFirstPaint(window, [] {
        std::FILE *status = std::fopen("/proc/self/status", "r");
        char line[256];
        long kib = 0;
        while (status && std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmRSS: %ld", &kib) == 1)
                break;
        if (status)
            std::fclose(status);
        std::printf("painted %ld\n", kib);
        std::fflush(stdout);
    });
}
