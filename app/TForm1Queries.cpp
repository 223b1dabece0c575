// SPDX-License-Identifier: GPL-3.0-or-later
// Query modes, the query button and the query run that fills the result grid.
#include "app/Accessibility.h"
#include "app/LineTexts.h"
#include "app/TForm1.h"
#include "app/TransferWorker.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "grid/ClientDataSet.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/WidgetText.h"
#include "route/PlanTexts.h"
#include "text/Gbk.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace velmora {

namespace {
// The result table's fields: name (also the column title) and size in bytes.
const std::vector<TFieldDef> &resultFields() {
    static const std::vector<TFieldDef> fields = {{gbk("线路"), 28}, {gbk("始发-->终点站"), 35}, {gbk("备注"), 29}};
    return fields;
}

// The same columns for transfer plans, but holding whole texts: a plan's stations are often longer than the
// column, and a cut by bytes loses the destination or splits a character.
const std::vector<TFieldDef> &transferFields() {
    static const std::vector<TFieldDef> fields = [] {
        std::vector<TFieldDef> whole = resultFields();
        for (TFieldDef &f : whole)
            f.whole = true;
        return whole;
    }();
    return fields;
}

const std::string &noResultWarning() {
    static const std::string warning = gbk("查询方式或输入内容是否有误?");
    return warning;
}

// One row of the result grid, and what the details show for it.
struct ResultRow {
    std::string name, ends, notes; // the grid's three columns
    std::string detail, title, id; // detail text, detail caption, and the line the link opens
};

// Refills the result table and the three per-row arrays: made before the rows are read, so a read that fails
// leaves the grid empty; add() appends row n, finish() makes row 1 current (which shows its details) and sets
// the grid's caption.
class ResultFill {
public:
    ResultFill(TForm1 &form, const std::vector<TFieldDef> &fields, std::size_t rows) : form_(form), fields_(fields) {
        form.detailTexts.resize(rows);
        form.titleTexts.resize(rows);
        form.lineIds.resize(rows);
        form.ClientDataSet1->ResetTable(fields);
    }
    void add(std::size_t n, ResultRow r) {
        form_.ClientDataSet1->AppendRow(
            {{fields_[0].name, r.name}, {fields_[1].name, r.ends}, {fields_[2].name, r.notes}});
        form_.detailTexts[n] = std::move(r.detail);
        form_.titleTexts[n] = std::move(r.title);
        form_.lineIds[n] = std::move(r.id);
    }
    void finish(const std::string &caption) {
        form_.ClientDataSet1->MoveFirst();
        setCaption(form_.GroupBox2, caption);
    }

private:
    TForm1 &form_;
    const std::vector<TFieldDef> &fields_;
};

// Empties the pending query text on every way out of a run.
struct EmptyOnExit {
    std::string &text;
    ~EmptyOnExit() { text.clear(); }
};
} // namespace

void TForm1::setMode(int mode) {
    static const std::string captions[] = {gbk("线路查询:"), gbk("站点查询:"), gbk("站站查询:"), gbk("换乘查询:")};
    setCaption(sm1, captions[mode - 1]);
    dropPendingPlan();
    queryMode = mode;
    const bool two = mode >= 3; // station-to-station and transfer plans take two stations
    sm2->setVisible(two);
    q2->setVisible(two);
    q1->resize(two ? 113 : 200, q1->height());
    q1->clear();
    q2->clear();
    q1->setCompleter(mode >= 2 ? q1Stations_ : nullptr);
    q2->setCompleter(two ? q2Stations_ : nullptr);
    nameQueryBoxes(q1, q2, mode);
}

void TForm1::N2Click() {
    setMode(1);
}
void TForm1::N3Click() {
    setMode(2);
}
void TForm1::N4Click() {
    setMode(3);
}
void TForm1::N14Click() {
    setMode(4);
}

void TForm1::Button1Click() {
    if (q1->text().isEmpty())
        return;
    if (queryMode == 4) {
        runTransferQuery();
        return;
    }
    querySql = queryTextFor(queryMode, cityId, typedText(q1), queryMode == 3 ? typedText(q2) : std::string());
    Button200Click();
}

void TForm1::Button200Click() {
    EmptyOnExit emptyQuery{querySql}; // declared first, so it also runs when the connection fails
    dropPendingPlan();                // this result replaces the grid's rows
    loadCityIndex();
    TSQLiteDatabase db(dbFileName, dbKey);
    if (querySql.empty())
        querySql = sql::selectAllLines(cityId);
    lastRunSql_ = querySql;
    std::unique_ptr<TSQLiteTable> result = db.QueryTable(querySql);
    const int rows = result->RowCount();
    if (rows == 0) {
        messageDlg(noResultWarning(), MsgType::Warning, mbOK);
        return;
    }
    ResultFill fill(*this, resultFields(), std::size_t(rows));
    const int lm = result->ColumnIndex("lm"), start = result->ColumnIndex("start"), bz = result->ColumnIndex("bz"),
              sj = result->ColumnIndex("sj"), pj = result->ColumnIndex("pj"), sh = result->ColumnIndex("sh"),
              xh = result->ColumnIndex("xh"), id = result->ColumnIndex("id");
    for (std::size_t n = 0; !result->AtEnd(); ++n, result->MoveNext()) {
        ResultRow r{result->ColumnText(lm), result->ColumnText(start), result->ColumnText(bz), {}, {}, {}};
        r.detail = detailText(r.notes, result->ColumnText(sj), result->ColumnText(pj), result->ColumnText(sh),
                              result->ColumnText(xh));
        r.title = detailCaption(cityName, r.name, r.ends);
        r.id = result->ColumnText(id);
        fill.add(n, std::move(r));
    }
    fill.finish(countCaption(rows));
}

void TForm1::loadCityIndex() {
    if (cityId == indexedCity_)
        return;
    indexedCity_ = cityId;
    transfer_->loadCity(dbFileName, cityId);
}

void TForm1::runTransferQuery() {
    planRequest_ = transfer_->plan(dbFileName, cityId, typedText(q1), typedText(q2), planOptionsNow());
    if (!planBusy_)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    planBusy_ = true;
}

void TForm1::dropPendingPlan() {
    planRequest_ = 0;
    if (planBusy_)
        QApplication::restoreOverrideCursor();
    planBusy_ = false;
}

void TForm1::showPlans(const TransferResult &result) {
    if (result.request != planRequest_)
        return; // superseded
    dropPendingPlan();
    runHandler([&] {
        if (result.error)
            std::rethrow_exception(result.error);
        if (result.plans.empty()) {
            messageDlg(noResultWarning(), MsgType::Warning, mbOK);
            return;
        }
        const route::TransferIndex &index = *result.index;
        const std::size_t rows = result.plans.size();
        ResultFill fill(*this, transferFields(), rows);
        for (std::size_t n = 0; n < rows; ++n) {
            const route::Plan &plan = result.plans[n];
            // The link opens the first ride's line.
            ResultRow r{route::planLines(index, plan),
                        route::planStations(index, plan),
                        route::planRemark(plan),
                        route::planDetail(index, plan),
                        {},
                        index.line(plan.legs.front().line).id};
            r.title = detailCaption(cityName, r.name, r.ends);
            fill.add(n, std::move(r));
        }
        static const std::string head = gbk("查询结果: "), tail = gbk("个换乘方案");
        fill.finish(head + std::to_string(rows) + tail);
    });
}

} // namespace velmora
