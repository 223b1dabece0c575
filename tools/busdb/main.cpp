// SPDX-License-Identifier: GPL-3.0-or-later
// busdb: the bus database tool for the people who deliver Velmora's data.
#include "BusDb.h"

#include <iostream>

int main(int argc, char **argv) {
    return velmora::busdb::runCli(argc, argv, std::cout, std::cerr);
}
