// SPDX-License-Identifier: GPL-3.0-or-later
// Station suggestions: the current city's stations that the typed text means, offered as the user types.
#include "app/TForm1.h"
#include "app/TransferWorker.h"
#include "data/SQLiteDatabase.h"
#include "platform/WidgetText.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>
#include <utility>

namespace velmora {

void TForm1::suggestStations(QLineEdit *box) {
    if (queryMode < 2)
        return;
    // The planner's own matching, on its index, off this thread: a large city's index is built, and a short
    // text matched against its stations, without the window waiting.
    matchBox_ = box;
    matchRequest_ = transfer_->suggest(dbFileName, cityId, typedText(box));
}

void TForm1::showMatches(const StationMatches &matches) {
    if (matches.request != matchRequest_ || !matchBox_)
        return; // typed on since
    stationNames_->setStringList(matches.names);
    QCompleter *completer = matchBox_->completer();
    if (!completer || !matchBox_->isVisible())
        return;
    if (matches.names.isEmpty() || matchBox_->text().isEmpty())
        completer->popup()->hide();
    else
        completer->complete();
}

void TForm1::showStations(const CityStations &stations) {
    if (stations.cityId != cityId || stations.file != dbFileName || stations.index == suggested_)
        return;
    transfer_->dispose(std::exchange(suggested_, stations.index));
}

} // namespace velmora
