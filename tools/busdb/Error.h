// SPDX-License-Identifier: GPL-3.0-or-later
// The one failure type of the bus database tool.
#pragma once

#include <stdexcept>

namespace velmora::busdb {

// Every failure of the tool: a UTF-8 message for the terminal.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace velmora::busdb
