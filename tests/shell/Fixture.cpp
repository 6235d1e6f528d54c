// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fixture.h"

#include "bench/BenchError.h"
#include "bench/MemoryPage.h"
#include "controls/Busy.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QStatusBar>
#include <QTest>

#include <utility>

namespace {

sysinfo::OverviewFields sampleFields()
{
    sysinfo::OverviewFields fields;
    fields.processor = QStringLiteral("Test CPU, 1000 MHz");
    fields.memory = QStringLiteral("512 Mb, load 10%");
    fields.computerName = QStringLiteral("testhost");
    fields.userName = QStringLiteral("tester");
    fields.os = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    fields.display = QStringLiteral("Test display");
    fields.monitor = QStringLiteral("Test monitor");
    fields.cdrom = QStringLiteral("Test CD-ROM");
    fields.mouse = QStringLiteral("Test mouse");
    return fields;
}

// Two drives; the second mount point holds a line break, shown escaped.
sysinfo::FixedDriveListing sampleDrives()
{
    return {{QStringLiteral("Drive /"), QStringLiteral("Drive /home/a\\012b")},
            QStringLiteral("/ 100 Gb; /home 200 Gb"),
            {QByteArray("/"), QByteArray("/home/a\nb")}};
}

constexpr std::int64_t kMebibyte = 1'048'576;

} // namespace

ShellFixture::ShellFixture(const std::function<void(TForm1Services&)>& adjust, bool hidden)
    : fields(sampleFields())
{
    create(sampleDrives(), adjust, hidden);
}

ShellFixture::ShellFixture(const QStringList& drives) : fields(sampleFields())
{
    QList<QByteArray> paths;
    for (const QString& entry : drives)
        paths << entry.mid(QStringLiteral("Drive ").size()).toUtf8();
    create({drives, QStringLiteral("/ 100 Gb; /home 200 Gb"), paths}, {}, false);
}

void ShellFixture::create(const sysinfo::FixedDriveListing& drives,
                          const std::function<void(TForm1Services&)>& adjust, bool hidden)
{
    QFile file(directory.filePath(QStringLiteral("base.ini")));
    if (file.open(QIODevice::WriteOnly))
        file.write("[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n");
    file.close();

    TForm1Services services;
    services.probes.gatherOverview = [this] {
        ++gatherCount;
        handlers.append(QStringLiteral("FormActivate"));
        if (beforeGather)
            beforeGather();
        splashVisibleWhileGathering = widget<QFrame>("Panel4")->isVisible();
        othersExistWhileGathering = forms.Form2 && forms.Form3 && forms.Form4 && forms.Form5;
        hourglassWhileGathering = busy::HourglassShown();
        statusWhileGathering = busy::StatusText(widget<QStatusBar>("StatusBar1"));
        return fields;
    };
    services.probes.listFixedDrives = [drives] { return drives; };
    services.openUrl = [this](const QUrl& url) {
        openedUrls.append(url);
        return true;
    };
    services.databasePath = directory.filePath(QStringLiteral("base.ini"));
    services.kernels = kernels();
    if (adjust)
        adjust(services);
    forms = CreateMainForm(std::move(services));
    CreateOtherFormsAfterSplash(forms);
    if (!hidden && !showAndActivate())
        qWarning("the main window was not activated");
}

void ShellFixture::duringOrFail(const QString& kernel)
{
    if (duringKernel)
        duringKernel();
    if (kernel == failingKernel)
        throw bench::BenchError(("Failed: " + kernel).toStdString());
}

report::SessionKernels ShellFixture::kernels()
{
    report::SessionKernels k;
    k.processor = {[this] {
                       handlers.append(QStringLiteral("Button1Click"));
                       duringOrFail(QStringLiteral("cpu"));
                       return 600;
                   },
                   [] { return 300; }};
    // One memory refresh: a comparative test reads its one block, the full
    // test starts at 1 KB and ends at the same block.
    k.memory.readTest = [this](std::uint32_t block) {
        memoryCalls.append(QStringLiteral("read ") + QString::number(block));
        if (block == 1024)
            m_fullTest = true;
        if (block == 1024 ||
            (block == bench::kMemoryTestBufferSize && !std::exchange(m_fullTest, false)))
            handlers.append(QStringLiteral("Button3Click"));
        duringOrFail(QStringLiteral("memory"));
        return (block / 1024 + 1000) * kMebibyte;
    };
    k.memory.writeTest = [this](std::uint32_t block) {
        memoryCalls.append(QStringLiteral("write ") + QString::number(block));
        return (block / 1024 + 2000) * kMebibyte;
    };
    k.video = {[this](bench::VideoCanvas& canvas, int width, int height) {
        handlers.append(QStringLiteral("Button5Click"));
        duringOrFail(QStringLiteral("video"));
        return videoTest ? videoTest(canvas, width, height) : std::int64_t{314'572'800};
    }};
    k.disk.testDirectory = [](const std::string& mount) { return mount; };
    k.disk.availableBytes = [](const std::string&) { return std::uint64_t{1} << 40; };
    k.disk.diskTest = [this](const std::string& directory, std::int32_t) {
        handlers.append(QStringLiteral("Button4Click"));
        duringOrFail(QStringLiteral("disk"));
        return std::int64_t{diskRates.value(QString::fromStdString(directory), 81'920)} * 1024;
    };
    return k;
}

ShellFixture::~ShellFixture() = default;

bool ShellFixture::showAndActivate()
{
    forms.Form1->show();
    QApplication::setActiveWindow(forms.Form1.get());
    if (!QTest::qWaitForWindowActive(forms.Form1.get()))
        return false;
    return QTest::qWaitFor([this] { return handlers.contains(QStringLiteral("FormActivate")); });
}

QStringList ShellFixture::takeHandlers()
{
    return std::exchange(handlers, {});
}
