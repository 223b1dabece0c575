// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageCapture.h"

#include "skins/format/SkinNotice.h"

namespace velmora::test {

MessageCapture::MessageCapture() {
    // Tests without the program's application object still see the skin reader's notices as boxes.
    setSkinNoticeSink([](const std::string &text) { showMessage(text); });
    setMessageInterceptor([this](const ShownMessage &m) {
        shown_.push_back(m);
        if (!answers_.empty()) {
            int a = answers_.front();
            answers_.pop_front();
            return a;
        }
        return m.defaultResult;
    });
}

MessageCapture::~MessageCapture() {
    setMessageInterceptor(nullptr);
}

std::vector<std::string> MessageCapture::errors() const {
    std::vector<std::string> out;
    for (const ShownMessage &m : shown_)
        if (m.kind == ShownMessage::ErrorBox)
            out.push_back(m.text);
    return out;
}

} // namespace velmora::test
