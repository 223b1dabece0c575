// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Shell.h"

#include "text/Exception.h"
#include "text/Gbk.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace velmora {

void shellOpen(const std::string &address) {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(address.data(), qsizetype(address.size()))));
}

void setClipboardGbk(const std::string &gbkText) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw Exception("Cannot open clipboard");
    auto *data = new QMimeData;
    data->setText(fromGbk(gbkText));
    QByteArray bytes(gbkText.data(), qsizetype(gbkText.size()));
    bytes.append('\0');
    data->setData(QStringLiteral("text/plain;charset=GBK"), bytes);
    clipboard->setMimeData(data);
}

} // namespace velmora
