// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unit1.h"

#include "Unit1Ui.h"

#include "ErrorReport.h"
#include "Fonts.h"
#include "JpegImage.h"
#include "Locations.h"
#include "LogLines.h"
#include "ResultsCommands.h"
#include "VideoSurface.h"
#include "controls/Busy.h"
#include "database/ComparisonDatabase.h"
#include "resources/Resources.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>
#include <QWindow>

#include <array>
#include <utility>

namespace {

// The page controls sit on the black content area but keep the desktop's own
// button-face colours; every role is set so nothing black is inherited.
void useStandardColours(QWidget* widget)
{
    QPalette palette = QApplication::palette();
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            palette.setBrush(g, r, palette.brush(g, r));
        }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Tabs drawn as flat buttons: the page shown is pressed in, the one under the
// mouse is outlined (hot tracking). The row of tabs is 27 px high and the
// sheets sit 4 px inside the control's other three edges, as the pages'
// contents are placed against those sheets.
void useFlatButtonTabs(QTabWidget* tabs)
{
    tabs->setStyleSheet(QStringLiteral(
        "QTabWidget::pane { border: none; margin: 0px 4px 4px 4px; }"
        "QTabBar::tab { height: 15px; padding: 3px 10px; margin: 2px 2px 2px 0px;"
        " border: 1px solid transparent; border-radius: 2px; background: transparent; }"
        "QTabBar::tab:hover { border-color: palette(mid); background: palette(light); }"
        "QTabBar::tab:selected { border-color: palette(shadow); background: palette(midlight); }"));
}

void setFieldText(QLineEdit* field, const QString& text)
{
    field->setText(text);
    field->setCursorPosition(0); // show the start of a long text
}

} // namespace

TForm1::TForm1(TForm1Services services, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Form1Ui>()), m_services(std::move(services))
{
    m_ui->Ui::TForm1::setupUi(this);
    // The tool bar's and menu's entries; the pages' controls follow.
    m_pages = MakePageTable(*m_ui);
    setUpFrame();
    setUpToolBar();
    bindCommands();
}

// Most of the window's controls are on the pages, hidden under the splash:
// the program paints the splash before it makes them.
void TForm1::buildPages()
{
    if (std::exchange(m_pagesBuilt, true))
        return;
    m_ui->Ui::TForm1Pages::setupUi(m_ui->Panel1);
    m_pages = MakePageTable(*m_ui);
    setUpPages();
    bindPageHandlers();
    RunGuarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::setUpFrame()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(ProgramFont());
    // Drop-down menus are windows of their own: they inherit no font.
    for (QMenu* menu : m_ui->MainMenu1->findChildren<QMenu*>())
        menu->setFont(ProgramFont());
    m_ui->ClientArea->setFixedSize(595, 466);
    m_ui->StatusBar1->setFixedHeight(19);
    busy::SetStatusText(m_ui->StatusBar1, QString());
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    QPalette band = m_ui->CoolBar1->palette();
    band.setBrush(QPalette::Window, QBrush(QPixmap(resources::BandBackground)));
    m_ui->CoolBar1->setPalette(band);
    RunGuarded([this] {
        m_ui->Image2->setPixmap(QPixmap::fromImage(LoadJpeg(resources::SplashPicture)));
    });

    // The splash sits in the middle of the content panel it covers.
    const QFrame* content = m_ui->Panel1;
    QFrame* splash = m_ui->Panel4;
    splash->move((content->contentsRect().width() - splash->width()) / 2,
                 (content->contentsRect().height() - splash->height()) / 2 + content->y());
    m_ui->Panel1->hide();
    m_ui->Panel4->installEventFilter(this);
    m_ui->StatusBar1->installEventFilter(this);
    m_repaintWait.setSingleShot(true);
    m_repaintWait.setInterval(RepaintWaitMs);
    connect(&m_repaintWait, &QTimer::timeout, this, &TForm1::activateAfterRepaint);
    adjustSize();
    const QRect area = screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void TForm1::setUpPages()
{
    m_ui->Memo1->setFont(LogFont());
    new EvenLogLines(m_ui->Memo1->document()); // owned by the document
    // Read-only, yet Tab reaches the overview fields top to bottom, so a
    // value can be selected and copied without the mouse.
    const std::array<QLineEdit*, 10> fields{m_ui->Edit1, m_ui->Edit2, m_ui->Edit3,  m_ui->Edit8,
                                            m_ui->Edit4, m_ui->Edit9, m_ui->Edit10, m_ui->Edit5,
                                            m_ui->Edit6, m_ui->Edit7};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fields[i]->setFocusPolicy(Qt::StrongFocus);
        if (i > 0)
            QWidget::setTabOrder(fields[i - 1], fields[i]);
    }
    useStandardColours(m_ui->Panel2);
    useFlatButtonTabs(m_ui->PageControl1);
    useFlatButtonTabs(m_ui->PageControl2);
    RunGuarded([this] {
        m_ui->Image1->setPixmap(QPixmap::fromImage(LoadJpeg(resources::BackgroundPicture)));
    });
}

void TForm1::setUpToolBar()
{
    const std::array<std::pair<QToolButton*, int>, 3> others{{
        {m_ui->ToolButton10, 6},
        {m_ui->ToolButton1, 5},
        {m_ui->ToolButton3, 4},
    }};
    for (const auto& [button, index] : others)
        button->setIcon(QIcon(resources::ToolBarImage(index)));
    for (const PageEntry& page : m_pages)
        page.toolButton->setIcon(QIcon(resources::ToolBarImage(page.toolImage)));
}

// Every command of the window runs here. A close that arrives during one of
// its passes over pending events leaves the database to it until it ends;
// after the close no command starts.
void TForm1::runCommand(const std::function<void()>& command)
{
    if (m_closed || !m_session)
        return; // ending, or not made yet: the pages follow the splash
    ++m_commandDepth;
    const auto leave = qScopeGuard([this] {
        if (--m_commandDepth != 0)
            return;
        if (m_closed)
            m_session.reset();
        else if (std::exchange(m_activationDeferred, false))
            QMetaObject::invokeMethod(this, &TForm1::ActivateWhenRepainted, Qt::QueuedConnection);
    });
    RunGuarded(command);
}

void TForm1::throwIfClosed() const
{
    if (m_closed)
        throw WindowClosed();
}

void TForm1::bindButton(QAbstractButton* button, void (TForm1::*handler)())
{
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { runCommand([&] { (this->*handler)(); }); });
}

void TForm1::bindAction(QAction* action, void (TForm1::*handler)())
{
    connect(action, &QAction::triggered, this,
            [this, handler] { runCommand([&] { (this->*handler)(); }); });
}

void TForm1::bindCommands()
{
    bindButton(m_ui->ToolButton10, &TForm1::ToolButton10Click);
    bindAction(m_ui->N17, &TForm1::ToolButton10Click);
    bindButton(m_ui->ToolButton1, &TForm1::ToolButton1Click);
    for (const PageEntry& page : m_pages) {
        bindButton(page.toolButton, page.command);
        bindAction(page.menuItem, page.command);
    }
    bindButton(m_ui->ToolButton3, &TForm1::ToolButton3Click);
    bindAction(m_ui->N5, &TForm1::ToolButton3Click);
    bindAction(m_ui->N3, &TForm1::N3Click);
    bindAction(m_ui->N16, &TForm1::N16Click);
    bindAction(m_ui->WebSiteItem, &TForm1::WebSiteItemClick);
    bindResultCommands();
}

void TForm1::bindPageHandlers()
{
    for (const PageEntry& page : m_pages)
        bindButton(page.defaultButton, page.refresh);
    bindButton(m_ui->Button6, &TForm1::Button6Click);
    // A radio button runs its test when it becomes selected, by the user or
    // by the program; clicking the one already selected runs nothing.
    const std::array<std::pair<QRadioButton*, bench::MemoryMode>, 2> modes{{
        {m_ui->RadioButton1, bench::MemoryMode::Comparative},
        {m_ui->RadioButton2, bench::MemoryMode::Full},
    }};
    for (const auto& [button, mode] : modes) {
        connect(button, &QAbstractButton::toggled, this, [this, mode](bool checked) {
            if (checked)
                runCommand([&] { RadioButton1Click(mode); });
        });
    }
    // Only the user's change of drive measures: filling the list, or picking
    // the drive that is already selected, does not.
    connect(m_ui->ComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { m_driveChanged = true; });
    connect(m_ui->ComboBox1, &QComboBox::activated, this, [this] {
        if (std::exchange(m_driveChanged, false))
            runCommand([this] { Button4Click(); });
    });

    // currentChanged fires for the user's switching and for setPages alike;
    // only the former is a page change.
    const auto pageChanged = [this] {
        if (!m_settingPages)
            runCommand([this] { PageControl1Change(); });
    };
    connect(m_ui->PageControl1, &QTabWidget::currentChanged, this, pageChanged);
    connect(m_ui->PageControl2, &QTabWidget::currentChanged, this, pageChanged);
}

void TForm1::setWindows(QDialog* editor, QDialog* about, QWidget* testSurface)
{
    m_editor = editor;
    m_about = about;
    m_testSurface = testSurface ? std::make_unique<VideoSurface>(*testSurface) : nullptr;
    if (m_testSurface)
        m_testSurface->setAfterEvents([this] {
            if (m_closed) {
                m_testSurface->Close();
                throw WindowClosed();
            }
        });
}

void TForm1::FormCreate()
{
    const QString path =
        m_services.databasePath.isEmpty() ? LocateProgramDatabase().path : m_services.databasePath;
    m_session = std::make_unique<report::Session>(path, m_services.probes, m_services.kernels);
    showLog();
    showResults();

    // The list shows escapes of a mount point's control characters; the
    // session keeps each drive's real path.
    m_ui->ComboBox1->addItems(m_session->drives());
    m_ui->ComboBox1->setCurrentIndex(m_session->selectedDrive());
    connect(m_ui->ComboBox1, &QComboBox::currentIndexChanged, m_session.get(),
            &report::Session::selectDrive);
    setFieldText(m_ui->Edit4, m_session->overview().hdd);
    m_driveChanged = false;
    connect(m_session.get(), &report::Session::resultsChanged, this,
            [this] { m_resultsCommands->resultsChanged(*m_session); });
    if (path.isEmpty())
        throw DatabaseError(QStringLiteral("Unable to find the directory of the program"));
}

// Memo1 shows the session's log as it grows.
void TForm1::showLog()
{
    for (const QString& line : m_session->log())
        m_ui->Memo1->appendPlainText(line);
    connect(m_session.get(), &report::Session::logCleared, m_ui->Memo1, &QPlainTextEdit::clear);
    connect(m_session.get(), &report::Session::logAppended, m_ui->Memo1,
            &QPlainTextEdit::appendPlainText);
}

// The charts show the bars the session sends; the radio buttons its memory
// mode, selected from code without running their test.
void TForm1::showResults()
{
    connect(m_session.get(), &report::Session::chartChanged, this,
            [this](report::ChartPage page, const TMyChartBars& bars) {
                m_pages[std::size_t(page)].chart->ShowBars(bars);
            });
    connect(m_session.get(), &report::Session::resultsChanged, this, &TForm1::showVideoFillNote);
    connect(m_session.get(), &report::Session::memoryModeChanged, this,
            [this](bench::MemoryMode mode) {
                QRadioButton* button =
                    mode == bench::MemoryMode::Full ? m_ui->RadioButton2 : m_ui->RadioButton1;
                const QSignalBlocker quiet(button);
                button->setChecked(true);
            });
}

void TForm1::FormActivate()
{
    if (m_closed || !m_session)
        return; // the program is ending
    const busy::Hourglass hourglass;
    {
        // The pages replace the splash also when a probe fails, before its error box.
        const auto showPages = qScopeGuard([this] {
            m_ui->Panel4->hide();
            m_ui->Panel1->show();
        });
        m_session->loadReferenceMachine();
        busy::SetStatusText(m_ui->StatusBar1, busy::StandardStatusText);
        busy::ProcessPendingEvents();
        throwIfClosed();
        m_session->refreshOverview();
        fillOverview(m_session->overview());
    }
}

// The activation that follows another window of the program. A command that
// is running (the all-tests run after its video test) goes on in its busy
// state; the activation comes once it has ended.
void TForm1::ActivateWhenRepainted()
{
    if (m_commandDepth > 0) {
        m_activationDeferred = true;
        return;
    }
    if (m_repaintAwaited)
        return;
    // A hidden or minimised window gets no paint to wait for.
    if (!isVisible() || windowHandle() == nullptr || !windowHandle()->isExposed()) {
        runCommand([this] { FormActivate(); });
        return;
    }
    m_repaintAwaited = true;
    // All of it, not only what the window system reports uncovered: a pass
    // over the window alone leaves out children it takes as unchanged.
    update();
    for (QWidget* child : findChildren<QWidget*>())
        child->update();
    m_repaintWait.start();
}

void TForm1::activateAfterRepaint()
{
    if (!std::exchange(m_repaintAwaited, false))
        return;
    m_repaintWait.stop();
    if (m_commandDepth > 0) {
        m_activationDeferred = true; // a command began while the paint was awaited
        return;
    }
    runCommand([this] { FormActivate(); });
}

void TForm1::fillOverview(const sysinfo::OverviewFields& fields)
{
    setFieldText(m_ui->Edit1, fields.processor);
    setFieldText(m_ui->Edit2, fields.memory);
    setFieldText(m_ui->Edit6, fields.computerName);
    setFieldText(m_ui->Edit7, fields.userName);
    setFieldText(m_ui->Edit5, fields.os.value_or(QString()));
    setFieldText(m_ui->Edit3, fields.display);
    setFieldText(m_ui->Edit8, fields.monitor);
    setFieldText(m_ui->Edit9, fields.cdrom);
    setFieldText(m_ui->Edit10, fields.mouse);
}

void TForm1::PageControl1Change()
{
    if (m_ui->PageControl1->currentIndex() != 1)
        return;
    const int index = m_ui->PageControl2->currentIndex();
    if (index < 0 || index >= int(m_pages.size()))
        return;
    const PageEntry& page = m_pages[std::size_t(index)];
    if (page.chart != nullptr && !m_session->hasResult(report::ChartPage(index)))
        (this->*page.firstVisit)();
}

QPushButton* TForm1::currentDefaultButton() const
{
    if (!m_pagesBuilt || m_ui->PageControl1->currentIndex() != 1)
        return nullptr;
    const int index = m_ui->PageControl2->currentIndex();
    return index >= 0 && index < int(m_pages.size()) ? m_pages[std::size_t(index)].defaultButton
                                                     : nullptr;
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    m_shownOnce = true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // The first activation starts once the splash has been painted on an
    // exposed window: a window manager maps and exposes the window some time
    // after show(), and the probes block the thread for a second. The queued
    // call runs after this paint pass has been flushed to the screen.
    if (watched == m_ui->Panel4 && event->type() == QEvent::Paint && m_shownOnce &&
        !m_activationQueued && windowHandle() != nullptr && windowHandle()->isExposed()) {
        m_activationQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                buildPages();
                emit splashShown();
                runCommand([this] { FormActivate(); });
            },
            Qt::QueuedConnection);
    }
    // Later activations wait in the same way for the window's repaint (the
    // status bar is part of every pass over the whole window; a desktop's
    // global menu may take the menu bar away).
    if (watched == m_ui->StatusBar1 && event->type() == QEvent::Paint && m_repaintAwaited)
        QMetaObject::invokeMethod(this, &TForm1::activateAfterRepaint, Qt::QueuedConnection);
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    // Enter that no control took presses the default button of the page shown.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QPushButton* button = currentDefaultButton();
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == 0 && button != nullptr) {
        event->accept();
        button->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
    emit closed();
}

// The close may come in a pass over events of a command still on the stack:
// that command's next step sees the mark and ends, and the session goes once
// no command uses it.
void TForm1::FormClose()
{
    m_closed = true;
    if (m_commandDepth == 0)
        m_session.reset();
}
