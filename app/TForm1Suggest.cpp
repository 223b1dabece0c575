// SPDX-License-Identifier: GPL-3.0-or-later
// Station suggestions: the current city's station names offered as the user types.
#include "app/TForm1.h"
#include "data/SQLiteDatabase.h"
#include "platform/Gbk.h"
#include "route/IndexCache.h"

#include <QStringListModel>

namespace velmora {

void TForm1::suggestStations() {
    if (queryMode < 2)
        return;
    std::shared_ptr<const route::TransferIndex> index;
    try {
        index = planIndex_->get(dbFileName, dbKey, cityId);
    } catch (const Exception &) {
        return; // no suggestions then; the query itself reports what is wrong with the database
    }
    if (index == suggested_)
        return;
    suggested_ = index;
    QStringList names;
    names.reserve(index->stationCount());
    for (int s = 0; s < index->stationCount(); ++s)
        names << fromGbk(index->stationName(s));
    names.sort();
    stationNames_->setStringList(names);
}

} // namespace velmora
