// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the unpack target; the body lives in FuzzTargets.cpp.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    velmora::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    return velmora::fuzz::unpack(data, size);
}
