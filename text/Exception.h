// SPDX-License-Identifier: GPL-3.0-or-later
// The program's base exception: carries only a message, as GBK bytes.
#pragma once

#include <exception>
#include <string>

namespace velmora {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string &message() const noexcept { return message_; }
    const char *what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

} // namespace velmora
