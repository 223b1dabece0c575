// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TransferWorker.h"

#include "data/SQLiteDatabase.h"
#include "platform/WidgetText.h"
#include "route/IndexCache.h"

#include <QSet>
#include <QTime>

namespace velmora {

int minuteOfDayNow() {
    return QTime::currentTime().msecsSinceStartOfDay() / 60000;
}

route::PlanOptions planOptionsNow() {
    route::PlanOptions options;
    options.atMinute = minuteOfDayNow(); // plans on lines outside their service hours now are marked and ranked last
    return options;
}

TransferWorker::TransferWorker(QObject *parent) : QObject(parent), cache_(std::make_unique<route::IndexCache>()) {
    qRegisterMetaType<std::shared_ptr<const TransferResult>>();
    qRegisterMetaType<std::shared_ptr<const CityStations>>();
    qRegisterMetaType<std::shared_ptr<const StationMatches>>();
    // Two threads: a new plan starts while one it supersedes is still running.
    pool_.setMaxThreadCount(2);
}

TransferWorker::~TransferWorker() {
    pool_.clear();
    pool_.waitForDone();
}

std::shared_ptr<const route::TransferIndex> TransferWorker::indexFor(const std::string &file,
                                                                     const std::string &cityId) {
    std::lock_guard<std::mutex> lock(cacheMutex_);
    std::shared_ptr<const route::TransferIndex> index = cache_->get(file, dbKey, cityId);
    if (index != named_) {
        named_ = index;
        emit stationsLoaded(std::make_shared<CityStations>(CityStations{file, cityId, index}));
    }
    return index;
}

bool TransferWorker::holds(const std::string &file, const std::string &cityId) {
    std::lock_guard<std::mutex> lock(cacheMutex_);
    return cache_->holds(file, cityId);
}

void TransferWorker::loadCity(const std::string &file, const std::string &cityId) {
    pool_.start([this, file, cityId] {
        try {
            indexFor(file, cityId);
        } catch (...) { // an exception must not leave a pool thread
            // Nothing to offer then; a query on the city reports what is wrong with the database.
        }
    });
}

int TransferWorker::suggest(const std::string &file, const std::string &cityId, std::string typed) {
    const int request = ++latestMatch_;
    pool_.start([this, request, file, cityId, typed = std::move(typed)] {
        if (request != latestMatch_.load())
            return; // the user typed on
        auto matches = std::make_shared<StationMatches>();
        matches->request = request;
        try {
            std::shared_ptr<const route::TransferIndex> index = indexFor(file, cityId);
            // Stations at different places may share a name: the list offers each name once.
            QSet<QString> offered;
            for (int station : index->matchStations(typed)) {
                QString name = shownText(index->stationName(station));
                if (!offered.contains(name)) {
                    offered.insert(name);
                    matches->names << name;
                }
            }
        } catch (...) { // no suggestions then; a query reports what is wrong with the database
        }
        emit matched(std::move(matches));
    });
    return request;
}

void TransferWorker::dispose(std::shared_ptr<const route::TransferIndex> index) {
    if (index)
        pool_.start([index = std::move(index)]() mutable { index.reset(); });
}

int TransferWorker::plan(const std::string &file, const std::string &cityId, std::string from, std::string to,
                         route::PlanOptions options) {
    const int request = ++latest_;
    pool_.start([this, request, file, cityId, from = std::move(from), to = std::move(to), options] {
        if (request != latest_.load())
            return; // superseded before it started
        auto result = std::make_shared<TransferResult>();
        result->request = request;
        try {
            result->index = indexFor(file, cityId);
            result->plans = route::planTrips(*result->index, from, to, options);
        } catch (...) {
            result->error = std::current_exception();
        }
        emit planned(std::move(result));
    });
    return request;
}

} // namespace velmora
