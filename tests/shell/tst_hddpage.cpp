// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "Fixture.h"
#include "controls/Busy.h"
#include "controls/MyChart.h"
#include "shell/Dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

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
                return sysinfo::FixedDriveListing{{"Drive " + drive("a"), "Drive " + drive("b")},
                                                  QString(),
                                                  {drive("a").toUtf8(), drive("b").toUtf8()}};
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
};

void refreshBy(HddFixture& h, const QString& how)
{
    const ShellFixture& f = *h.shell;
    auto* outer = f.widget<QTabWidget>("PageControl1");
    auto* inner = f.widget<QTabWidget>("PageControl2");
    auto* drives = f.widget<QComboBox>("ComboBox1");
    if (how == "tool button") {
        QTest::mouseClick(f.widget<QToolButton>("ToolButton9"), Qt::LeftButton);
    } else if (how == "Ctrl+D") {
        QTest::keySequence(&f.form(), QKeySequence(QStringLiteral("Ctrl+D")));
    } else if (how == "first visit") {
        inner->setCurrentIndex(3);
        QTabBar* bar = outer->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    } else if (how == "Refresh") {
        inner->setCurrentIndex(3);
        outer->setCurrentIndex(1);
        h.spaceAsked.clear(); // the first visit measured already
        QTest::mouseClick(f.widget<QPushButton>("Button4"), Qt::LeftButton);
    } else if (how == "drive change") {
        QTest::mouseClick(f.widget<QToolButton>("ToolButton9"), Qt::LeftButton);
        h.spaceAsked.clear();
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_Down);
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

    // The selected drive's real path went to the session's disk test, and
    // its result to the disk chart.
    const ShellFixture& f = *h.shell;
    QCOMPARE(h.spaceAsked, QStringList{h.drive(drive) + "/"});
    QCOMPARE(f.widget<TMyChart>("MyChart3")->Bars.Items[0].Value > 0, measured);
    QCOMPARE(f.widget<QTabWidget>("PageControl2")->currentIndex(), 3);
    QCOMPARE(busy::StatusText(f.widget<QStatusBar>("StatusBar1")), busy::StandardStatusText);
}

void TestHddPage::failedTestShowsTheError()
{
    HddFixture h;
    QVERIFY(h.shell->showAndActivate());
    const QString planted = h.drive("a") + "/temp.$$$";
    QVERIFY(QDir().mkpath(planted));
    QString text;
    Dialogs::SetNextErrorAnswer([&text](const QString& shown) { text = shown; });

    QTest::mouseClick(h.shell->widget<QToolButton>("ToolButton9"), Qt::LeftButton);

    QCOMPARE(text, "Cannot create file " + planted + ": Is a directory.");
    QCOMPARE(busy::StatusText(h.shell->widget<QStatusBar>("StatusBar1")), busy::StandByText);
    QVERIFY(QFileInfo(planted).isDir());
}
