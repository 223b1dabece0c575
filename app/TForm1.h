// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the city's query row, the result grid, the shown line's details and the two links.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCompleter;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QStringListModel;

namespace velmora {

class TClientDataSet;
class TDataSetModel;
class TDBGrid;
class TLinkLabel;
class TSkinData;
class TSkinStore;

class TransferWorker;
struct CityStations;
struct StationMatches;
struct TransferResult;

namespace route {
class TransferIndex;
} // namespace route

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // State shared with the city dialog and between the handlers.
    int queryMode = 0; // 1 line, 2 station, 3 station-to-station, 4 transfer plans; 0 until start-up sets it
    std::string cityId, cityName, querySql, lineUrl;
    std::vector<std::string> detailTexts, titleTexts, lineIds; // entry k belongs to result row k+1

    // Controls.
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    QLabel *sm1, *sm2, *xxxx;
    TLinkLabel *Label1, *Label2;
    QLineEdit *q1, *q2;
    QPushButton *Button1, *Button200;
    TClientDataSet *ClientDataSet1;
    TDBGrid *DBGridEh1;
    TDataSetModel *DataSource1;

    // Menus.
    QMenuBar *MainMenu1;
    QAction *N30, *N2, *N3, *N4, *N14, *N15, *N1, *N6, *N11, *N21, *N31, *N41, *N51, *N61, *N7, *N5;
    QMenu *PopupMenu1;
    QAction *N8, *N9, *N10, *N12, *N13;

    // The six stored skins and the skin engine that paints every window from one of them.
    std::unique_ptr<TSkinStore> SkinStore1;
    std::unique_ptr<TSkinData> SkinData1;

    // Handlers. Programmatic clicks call these directly; exceptions go to the caller.
    void FormCreate();
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void N14Click();
    void N5Click();
    void N10Click();
    void N13Click();
    void N11Click();
    void N21Click();
    void N31Click();
    void N41Click();
    void N51Click();
    void N61Click();
    void Button1Click();
    void Button200Click();
    void ClientDataSet1AfterScroll();
    void DBGridEh1CellClick();
    void showxx();
    void N8Click();
    void Label1Click();
    void Label2Click();

    // The statement text of the last query run, for diagnostics and tests.
    const std::string &lastRunSql() const { return lastRunSql_; }
    // Whether a transfer plan asked for is still being computed.
    bool transferPending() const { return planBusy_; }
    // The background worker that builds the plan index and plans.
    TransferWorker *transferWorker() const { return transfer_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls(QWidget *client);
    void buildMenus();
    void connectHandlers();
    void setMode(int mode);
    // Asks for the transfer plans between the two boxes' stations; showPlans fills the grid when they come.
    void runTransferQuery();
    void showPlans(const TransferResult &result);
    // Forgets a plan still being computed (a newer query or another mode supersedes it).
    void dropPendingPlan();
    // Has the city's plan index built in the background when the city changes.
    void loadCityIndex();
    // Offers the current city's stations that the typed text means to the box being typed in, in the station
    // and transfer modes; they are matched off this thread and shown by showMatches.
    void suggestStations(QLineEdit *box);
    void showMatches(const StationMatches &matches);
    void showStations(const CityStations &stations);
    // Loads stored skin `index` and switches skinning on.
    void RunSkinCommand(int index);

    std::unique_ptr<TClientDataSet> dataSet_;
    TransferWorker *transfer_ = nullptr;
    int planRequest_ = 0;     // the plan request whose result the grid waits for; 0 for none
    bool planBusy_ = false;   // the busy cursor is shown for it
    std::string indexedCity_; // the city whose index was last asked for
    std::shared_ptr<const route::TransferIndex> suggested_; // the city's index, kept so it is freed off-thread
    int matchRequest_ = 0;
    QLineEdit *matchBox_ = nullptr; // the box the last match request was typed in
    QStringListModel *stationNames_ = nullptr;
    QCompleter *q1Stations_ = nullptr, *q2Stations_ = nullptr;
    std::string lastRunSql_;
    bool shownBefore_ = false;
};

} // namespace velmora
