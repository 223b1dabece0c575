// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer mode's background work: building a city's plan index and planning on it, on a thread of its
// own, so the window keeps answering and repainting while either runs.
#pragma once

#include "route/Planner.h"

#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace velmora {

namespace route {
class IndexCache;
} // namespace route

// What a plan request gave: the plans and the index they number into, or the error it raised.
struct TransferResult {
    int request = 0;
    std::shared_ptr<const route::TransferIndex> index;
    std::vector<route::Plan> plans;
    std::exception_ptr error;
};

// A city's index, once built for the city and file.
struct CityStations {
    std::string file, cityId;
    std::shared_ptr<const route::TransferIndex> index;
};

// The stations a typed text means, in the index's order of relevance, for the suggestions.
struct StationMatches {
    int request = 0;
    QStringList names;
};

// The minutes after midnight now, local time: the time of a plan asked for in the window.
int minuteOfDayNow();

// The options of a plan asked for now. The place where the query time goes once the planner takes one.
route::PlanOptions planOptionsNow();

class TransferWorker : public QObject {
    Q_OBJECT
public:
    explicit TransferWorker(QObject *parent = nullptr);
    // Waits for the jobs that run; the ones still queued are dropped.
    ~TransferWorker() override;

    // Builds the city's index, unless the kept one still stands for it, then reports its stations.
    void loadCity(const std::string &file, const std::string &cityId);
    // Plans between two typed texts; returns the request number that planned() will carry. A later request
    // supersedes this one: it is skipped if it has not started, and the later one does not wait for it (the
    // index is shared read-only), so a long plan no longer wanted delays nothing but its own thread.
    int plan(const std::string &file, const std::string &cityId, std::string from, std::string to,
             route::PlanOptions options);
    // Matches a typed text (GBK) against the city's stations; returns the request number that matched() will
    // carry. Superseded like plans, by the next request.
    int suggest(const std::string &file, const std::string &cityId, std::string typed);
    // Drops an index on a background thread: freeing a large city's index takes as long as a repaint or more.
    void dispose(std::shared_ptr<const route::TransferIndex> index);
    // Whether the kept index stands for the city in `file` (for tests and diagnostics).
    bool holds(const std::string &file, const std::string &cityId);
    // The number of the last plan request.
    int lastRequest() const { return latest_.load(); }

signals:
    void planned(std::shared_ptr<const velmora::TransferResult> result);
    void stationsLoaded(std::shared_ptr<const velmora::CityStations> stations);
    void matched(std::shared_ptr<const velmora::StationMatches> matches);

private:
    std::shared_ptr<const route::TransferIndex> indexFor(const std::string &file, const std::string &cityId);

    QThreadPool pool_;
    std::mutex cacheMutex_;                             // guards the two below; held while an index is built
    std::unique_ptr<route::IndexCache> cache_;          // touched by the jobs only
    std::shared_ptr<const route::TransferIndex> named_; // the index last reported by stationsLoaded
    std::atomic<int> latest_{0}, latestMatch_{0};
};

} // namespace velmora

Q_DECLARE_METATYPE(std::shared_ptr<const velmora::TransferResult>)
Q_DECLARE_METATYPE(std::shared_ptr<const velmora::CityStations>)
Q_DECLARE_METATYPE(std::shared_ptr<const velmora::StationMatches>)
