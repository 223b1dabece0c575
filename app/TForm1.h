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

    // Controls. The names are the window's designer names, kept because other windows and the tests use them.
    QGroupBox *GroupBox1;           // the query row; its caption names the current city
    QLabel *sm1;                    // the query mode's caption before q1 ("站站查询:")
    QLabel *sm2;                    // "到" between the two station boxes; station-to-station and transfer modes only
    QLineEdit *q1;                  // the typed line name or (first) station
    QLineEdit *q2;                  // the second station; station-to-station and transfer modes only
    QPushButton *Button1;           // "查 询": builds the query from the mode and the boxes, then clicks Button200
    QPushButton *Button200;         // never shown: clicking it runs querySql (or all the city's lines) into the grid
    QGroupBox *GroupBox2;           // around the grid; its caption counts the lines found
    TClientDataSet *ClientDataSet1; // the result table the grid shows (owned by dataSet_)
    TDBGrid *DBGridEh1;             // the result grid
    TDataSetModel *DataSource1;     // the grid's model over ClientDataSet1
    QGroupBox *GroupBox3;           // around the details; its caption is the current line's detail caption
    QLabel *xxxx;                   // the current line's detail text; right click opens PopupMenu1
    TLinkLabel *Label1;             // "查看此公交": opens the current line's page on the web site
    TLinkLabel *Label2;             // "Velmora网": opens the web site's home page

    // Menus.
    QMenuBar *MainMenu1;
    QAction *N30;             // "查询方式", the query mode menu
    QAction *N2;              // "线路查询": line mode
    QAction *N3;              // "站点查询": station mode
    QAction *N4;              // "站站查询": station-to-station mode
    QAction *N14;             // "换乘查询": transfer plans mode
    QAction *N15;             // separator
    QAction *N1;              // "切换城市": opens the city dialog
    QAction *N6;              // "更换皮肤", the skin menu
    QAction *N11, *N21, *N31; // "皮肤1" to "皮肤3": stored skins 0 to 2
    QAction *N41, *N51, *N61; // "皮肤4" to "皮肤6": stored skins 3 to 5
    QAction *N7;              // separator
    QAction *N5;              // "关于...": opens the About dialog
    QMenu *PopupMenu1;        // the detail text's right-click menu
    QAction *N8;              // "复制此公交": copies the shown details
    QAction *N9;              // separator
    QAction *N10;             // "切换城市", as N1
    QAction *N12;             // separator
    QAction *N13;             // "关于...", as N5

    // The six stored skins and the skin engine that paints every window from one of them.
    std::unique_ptr<TSkinStore> SkinStore1;
    std::unique_ptr<TSkinData> SkinData1;

    // Handlers, named after the control and the event. Programmatic clicks call these directly; exceptions go to
    // the caller.
    void FormCreate();                // start-up: reads the stored city, applies skin 1, mode 3, lists all lines
    void N1Click();                   // shows the city dialog
    void N2Click();                   // line mode
    void N3Click();                   // station mode
    void N4Click();                   // station-to-station mode
    void N14Click();                  // transfer plans mode
    void N5Click();                   // shows the About dialog
    void N10Click();                  // as N1Click
    void N13Click();                  // as N5Click
    void N11Click();                  // stored skin 0
    void N21Click();                  // stored skin 1
    void N31Click();                  // stored skin 2
    void N41Click();                  // stored skin 3
    void N51Click();                  // stored skin 4
    void N61Click();                  // stored skin 5
    void Button1Click();              // the query button: builds querySql (or asks for plans) and runs it
    void Button200Click();            // the query run: fills the grid and the three per-row arrays from querySql
    void ClientDataSet1AfterScroll(); // the current row changed: calls showxx
    void DBGridEh1CellClick();        // a data cell was clicked: calls showxx
    void showxx();                    // shows the current row's detail caption, text and link
    void N8Click();                   // copies the shown details to the clipboard
    void Label1Click();               // opens the current line's page
    void Label2Click();               // opens the site's home page

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
