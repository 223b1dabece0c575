#include "app/TransferWorker.h"

#include "data/SQLiteDatabase.h"
#include "platform/Gbk.h"
#include "route/IndexCache.h"

#include <QTime>

namespace velmora {

int minuteOfDayNow() {
    return QTime::currentTime().msecsSinceStartOfDay() / 60000;
}

route::PlanOptions planOptionsNow() {
    route::PlanOptions options;
    // The query time for service hours goes here once PlanOptions has it: options.atMinute = minuteOfDayNow();
    return options;
}

TransferWorker::TransferWorker(QObject *parent) : QObject(parent), cache_(std::make_unique<route::IndexCache>()) {
    qRegisterMetaType<std::shared_ptr<const TransferResult>>();
    qRegisterMetaType<std::shared_ptr<const CityStations>>();
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
        // Names for the suggestions are made here too: on a large city, converting and sorting them takes
        // as long as a plan.
        auto stations = std::make_shared<CityStations>();
        stations->file = file;
        stations->cityId = cityId;
        stations->index = index;
        stations->names.reserve(index->stationCount());
        for (int s = 0; s < index->stationCount(); ++s)
            stations->names << fromGbk(index->stationName(s));
        stations->names.sort();
        named_ = index;
        emit stationsLoaded(std::move(stations));
    }
    return index;
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
