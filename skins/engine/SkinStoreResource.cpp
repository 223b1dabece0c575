// SPDX-License-Identifier: GPL-3.0-or-later
// The store's bytes from the program's resources (the generated skin store is compiled in).
#include "skins/format/SkinStore.h"
#include "text/Exception.h"

#include <QFile>

// The resource lives in a static library; naming its initialiser keeps it in the link.
static void initSkinResource() {
    static const bool done = [] {
        Q_INIT_RESOURCE(velmora_skins);
        return true;
    }();
    (void)done;
}

namespace velmora {

void TSkinStore::LoadFromResource(const char *path) {
    initSkinResource();
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(std::string("Skin store: cannot read ") + path);
    QByteArray bytes = file.readAll();
    ByteStream in(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    Store.ReadFrom(in);
}

} // namespace velmora
