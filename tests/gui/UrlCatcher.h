// SPDX-License-Identifier: GPL-3.0-or-later
// Catches the addresses the program asks the desktop to open (install with QDesktopServices::setUrlHandler).
#pragma once

#include <QObject>
#include <QUrl>
#include <vector>

namespace velmora::test {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.push_back(url); }
};

} // namespace velmora::test
