// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/AppTitle.h"

#include <QCoreApplication>

namespace velmora {

QString titleFromProgramPath(const QString &programPath) {
    QString name = programPath.mid(programPath.lastIndexOf(QLatin1Char('/')) + 1);
    name = name.left(name.indexOf(QLatin1Char('.')) < 0 ? name.size() : name.indexOf(QLatin1Char('.')));
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QString applicationTitle() {
    QStringList args = QCoreApplication::arguments();
    return titleFromProgramPath(args.isEmpty() ? QString() : args.first());
}

} // namespace velmora
