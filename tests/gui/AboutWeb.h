// SPDX-License-Identifier: GPL-3.0-or-later
// The About page tests' web: a local server that records what the page asks for, and the addresses given to
// the desktop's browser.
#pragma once

#include "about/TForm3.h"

#include <QDesktopServices>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <map>
#include <string>

namespace velmora::test {

// A web server on the loopback: serves pages by path and records every path asked for, with its host.
class LocalWeb : public QObject {
public:
    LocalWeb() {
        server_.listen(QHostAddress::Any);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }
    quint16 port() const { return server_.serverPort(); }
    std::string host(const char *address = "127.0.0.1") const {
        return std::string(address) + ":" + std::to_string(port());
    }
    std::map<QByteArray, QByteArray> pages; // path -> HTML; "<port>" in a page becomes the port
    QList<QByteArray> asked;                // "host path" of each request
    int count(const QByteArray &needle) const {
        return int(std::count_if(asked.begin(), asked.end(), [&](const QByteArray &a) { return a.contains(needle); }));
    }

private:
    void answer(QTcpSocket *socket) {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.split(' ').value(1);
        QByteArray host;
        for (const QByteArray &line : request.split('\n'))
            if (line.toLower().startsWith("host:"))
                host = line.mid(5).trimmed();
        asked.push_back(host + " " + path);
        const auto page = pages.find(path.split('?').value(0));
        QByteArray body = page == pages.end() ? QByteArray("<html><body>velmora</body></html>") : page->second;
        body.replace("<port>", QByteArray::number(port()));
        QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n";
        if (path.startsWith("/download"))
            head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Disposition: attachment; "
                   "filename=velmora-test-download.bin\r\nConnection: close\r\n";
        socket->write(head + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
    QTcpServer server_;
};

// Addresses given to the desktop's browser.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedUrls() override {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.push_back(url); }
};

inline QWidget *pageWidget(TForm3 &form) {
    return form.WebBrowser1->focusProxy();
}

} // namespace velmora::test
