// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageTable.h"
#include "report/Insight.h"
#include "session/Session.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;
class QAction;
class QDialog;
class HelpWindow;
class QPushButton;
class ResultsCommands;
class VideoSurface;

struct Form1Ui;

// What the main window calls outside itself; tests replace the slow or
// external parts (the one-second clock measurement, the kernels, the
// desktop's browser).
struct TForm1Services
{
    report::MachineProbes probes;
    report::SessionKernels kernels;
    std::function<bool(const QUrl&)> openUrl; // empty: QDesktopServices::openUrl
    QString databasePath;                     // empty: base.ini beside the executable
    report::InsightKernels insight;           // what the In context window measures
};

// The main window: overview, benchmark pages, menu and tool-bar commands.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    static inline const QString WebSiteAddress = QStringLiteral("https://quorvix.example/");

    // The pages below the tool bar are made once the splash has been painted,
    // before the first activation; FormCreate runs after them.
    explicit TForm1(TForm1Services services = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // The state the window shows; it lives from FormCreate until the window
    // has closed and no command uses it any more.
    report::Session& session() const { return *m_session; }
    ComparisonDatabase& database() const { return m_session->database(); }

    // The windows the commands show; set once after all windows exist. The
    // video page measures on `testSurface`.
    void setWindows(QDialog* editor, QDialog* about, QWidget* testSurface = nullptr);

    void FormActivate();
    // Activates once the window has been painted again, after a window of the
    // program that covered it has gone; at the latest after RepaintWaitMs.
    // While a command runs, once it has ended.
    void ActivateWhenRepainted();
    static constexpr int RepaintWaitMs = 500;
    void PageControl1Change();

    // Command table.
    void ToolButton10Click();
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton5Click();
    void ToolButton6Click();
    void ToolButton7Click();
    void ToolButton9Click();
    void ToolButton3Click();
    void N3Click();
    void N16Click();
    void WebSiteItemClick();
    // Beyond the menus of old: keeping results and their history
    // (Unit1Results.cpp).
    void KeepResultsClick();
    void HistoryClick();
    void ContextClick();

    // Page handlers, filled by the benchmark, video, disk and report code.
    void Button1Click();
    void Button3Click();
    void Button5Click();
    void UpdateVideoChart();
    void Button4Click();
    void Button2Click();
    void Button6Click();
    // Sets the session's memory mode and runs the memory page in it.
    void RadioButton1Click(bench::MemoryMode mode);

    // The page whose default button Enter presses (null on the overview).
    QPushButton* currentDefaultButton() const;

    // Raises WindowClosed once the window has been closed: a command calls it
    // after each pass over pending events, which may have delivered the close.
    void throwIfClosed() const;

signals:
    void closed();
    // The splash is on the screen; the first activation follows at once.
    void splashShown();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void setUpFrame();
    void buildPages();
    void setUpPages();
    void setUpToolBar();
    void bindCommands();
    void bindResultCommands();
    // The context measurements inside the busy frame; none when the command
    // did not complete.
    std::optional<report::Insight> measureContext();
    void bindPageHandlers();
    void runCommand(const std::function<void()>& command);
    void beginBusy();
    void bindButton(QAbstractButton* button, void (TForm1::*handler)());
    void bindAction(QAction* action, void (TForm1::*handler)());
    void setPages(int outer, int inner);
    void showPageAndRefresh(int page);
    void showLog();
    void showResults();
    void showVideoFillNote();
    void fillOverview(const sysinfo::OverviewFields& fields);
    // Whether the desktop took the address.
    bool openUrl(const QUrl& url);
    void activateAfterRepaint();

    // The all-tests run's view of this window (Unit1AllTests.cpp).
    class FullRunWindow;

    std::unique_ptr<Form1Ui> m_ui;
    PageTable m_pages;
    TForm1Services m_services;
    std::unique_ptr<report::Session> m_session;
    std::unique_ptr<ResultsCommands> m_resultsCommands;
    QDialog* m_editor = nullptr;
    QDialog* m_about = nullptr;
    HelpWindow* m_help = nullptr; // made at the first help the desktop cannot show
    std::unique_ptr<VideoSurface> m_testSurface;
    bool m_settingPages = false;
    bool m_driveChanged = false;
    bool m_pagesBuilt = false;
    bool m_shownOnce = false;
    bool m_activationQueued = false;
    bool m_closed = false;
    int m_commandDepth = 0; // commands on the stack, nested through event passes
    bool m_repaintAwaited = false;
    bool m_activationDeferred = false; // asked for while a command ran
    QTimer m_repaintWait;
};
