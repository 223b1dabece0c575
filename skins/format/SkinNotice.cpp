// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/format/SkinNotice.h"

#include <cstdio>

namespace velmora {

namespace {
SkinNoticeSink g_sink = nullptr;
}

void setSkinNoticeSink(SkinNoticeSink sink) {
    g_sink = sink;
}

void skinNotice(const std::string &text) {
    if (g_sink) {
        g_sink(text);
        return;
    }
    std::fprintf(stderr, "velmora: %s\n", text.c_str());
}

} // namespace velmora
