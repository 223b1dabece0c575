// SPDX-License-Identifier: GPL-3.0-or-later
// Answers the program's message boxes in tests instead of a person, and records what they would show.
#pragma once

#include "platform/Messages.h"

#include <deque>
#include <vector>

namespace velmora::test {

class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    // The next box gets this answer (one-shot, in order); without one, a box gets its default button.
    void answerNext(int result) { answers_.push_back(result); }
    const std::vector<ShownMessage> &shown() const { return shown_; }
    // Texts of the error boxes shown so far, GBK.
    std::vector<std::string> errors() const;
    void clear() { shown_.clear(); }

private:
    std::vector<ShownMessage> shown_;
    std::deque<int> answers_;
};

} // namespace velmora::test
