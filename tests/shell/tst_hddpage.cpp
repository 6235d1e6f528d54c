// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "bench/TestBuffer.h"
#include "controls/Busy.h"
#include "shell/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTest>

namespace {

// The main window on two temporary drives, "a" with room and "b" with
// exactly 10 MiB available; the real disk test writes into them.
struct HddFixture
{
    QTemporaryDir drives;
    QStringList spaceAsked;
    std::unique_ptr<ShellFixture> shell;

    HddFixture()
    {
        QDir(drives.path()).mkpath("a");
        QDir(drives.path()).mkpath("b");
        shell = std::make_unique<ShellFixture>([this](TForm1Services& services) {
            services.probes.listFixedDrives = [this] {
                return sysinfo::FixedDriveListing{
                    {"Drive " + drive("a"), "Drive " + drive("b")}, QString(), {}};
            };
            bench::DiskKernels disk = bench::RealDiskKernels();
            disk.availableBytes = [this](const std::string& directory) {
                spaceAsked << QString::fromStdString(directory);
                const bool roomy = directory == drive("a").toStdString() + "/";
                return std::optional<std::uint64_t>(roomy ? 1ULL << 30 : 10'485'760);
            };
            services.kernels.disk = disk;
        });
        QFile file(shell->directory.filePath("base.ini"));
        if (file.open(QIODevice::WriteOnly))
            file.write("[Drive]\nD1=500\nD2=700\n");
    }

    QString drive(const QString& name) const { return drives.filePath(name); }
    QStringList files() const
    {
        return QDir(drive("a")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System) +
               QDir(drive("b")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    }
};

void refreshBy(HddFixture& h, const QString& how)
{
    TForm1& form = h.shell->form();
    const Form1View ui = h.shell->ui();
    if (how == "tool button") {
        QTest::mouseClick(ui.ToolButton9, Qt::LeftButton);
    } else if (how == "Ctrl+D") {
        QTest::keySequence(&form, QKeySequence(QStringLiteral("Ctrl+D")));
    } else if (how == "first visit") {
        ui.PageControl2->setCurrentIndex(3);
        QTabBar* bar = ui.PageControl1->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    } else if (how == "Refresh") {
        ui.PageControl2->setCurrentIndex(3);
        ui.PageControl1->setCurrentIndex(1);
        h.spaceAsked.clear(); // the first visit measured already
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
    } else if (how == "drive change") {
        QTest::mouseClick(ui.ToolButton9, Qt::LeftButton);
        h.spaceAsked.clear();
        ui.ComboBox1->setFocus();
        QTest::keyClick(ui.ComboBox1, Qt::Key_Down);
    }
}

} // namespace

void TestHddPage::refreshCharts_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<bool>("measured");

    QTest::newRow("tool button") << "tool button"
                                 << "a" << true;
    QTest::newRow("Ctrl+D") << "Ctrl+D"
                            << "a" << true;
    QTest::newRow("first visit") << "first visit"
                                 << "a" << true;
    QTest::newRow("Refresh") << "Refresh"
                             << "a" << true;
    QTest::newRow("drive change to 10 MiB available") << "drive change"
                                                      << "b" << false;
}

void TestHddPage::refreshCharts()
{
    QFETCH(QString, how);
    QFETCH(QString, drive);
    QFETCH(bool, measured);
    HddFixture h;
    QVERIFY(h.shell->showAndActivate());

    refreshBy(h, how);

    const Form1View ui = h.shell->ui();
    const TMyChart& chart = *ui.MyChart3;
    QCOMPARE(chart.Bars.Count, 5);
    QCOMPARE(chart.Bars.Items[0].Caption, QStringLiteral("Your drive"));
    QCOMPARE(chart.Bars.Items[0].Value > 0, measured);
    QCOMPARE(chart.Bars.Items[4].Caption, QStringLiteral("D2"));
    QCOMPARE(chart.Bars.Items[4].Value, 700);
    QCOMPARE(h.spaceAsked, QStringList{h.drive(drive) + "/"});
    QCOMPARE(h.files(), QStringList());
    QCOMPARE(ui.PageControl2->currentIndex(), 3);
    QCOMPARE(busy::StatusText(ui.StatusBar1), busy::StandardStatusText);
    QCOMPARE(bench::TestBufferSize(), std::size_t(0));
}

void TestHddPage::failedTestShowsTheError()
{
    HddFixture h;
    QVERIFY(h.shell->showAndActivate());
    const QString planted = h.drive("a") + "/temp.$$$";
    QVERIFY(QDir().mkpath(planted));
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });

    QTest::mouseClick(h.shell->ui().ToolButton9, Qt::LeftButton);

    QCOMPARE(text, "Cannot create file " + planted + ": Is a directory.");
    QCOMPARE(h.shell->ui().MyChart3->Bars.Items[0].Value, 0);
    QCOMPARE(busy::StatusText(h.shell->ui().StatusBar1), busy::StandByText);
    QCOMPARE(bench::TestBufferSize(), std::size_t(0));
    QVERIFY(QFileInfo(planted).isDir());
}
