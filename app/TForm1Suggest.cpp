// Station suggestions: the current city's station names offered as the user types.
#include "app/TForm1.h"
#include "app/TransferWorker.h"
#include "data/SQLiteDatabase.h"

#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>
#include <utility>

namespace velmora {

void TForm1::suggestStations() {
    if (queryMode < 2)
        return;
    // The names come from the plan index, built and listed off this thread; asking again is cheap when the
    // index still stands for the city and the file, and notices a changed file.
    transfer_->loadCity(dbFileName, cityId);
}

void TForm1::showStations(const CityStations &stations) {
    if (stations.cityId != cityId || stations.file != dbFileName || stations.index == suggested_)
        return;
    transfer_->dispose(std::exchange(suggested_, stations.index));
    stationNames_->setStringList(stations.names);
    // Names that arrive after a keystroke are offered for the text typed so far.
    for (QLineEdit *box : {q1, q2})
        if (box->hasFocus() && box->completer() && !box->text().isEmpty()) {
            box->completer()->setCompletionPrefix(box->text());
            box->completer()->complete();
        }
}

} // namespace velmora
