#include "Fixture.h"

#include "controls/Busy.h"

#include <QApplication>
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

} // namespace

ShellFixture::ShellFixture(bool runPages) : fields(sampleFields())
{
    TForm1Services services;
    services.gatherOverview = [this] {
        ++gatherCount;
        handlers.append(QStringLiteral("FormActivate"));
        if (beforeGather)
            beforeGather();
        const Form1View view = ui();
        splashVisibleWhileGathering = view.Panel4->isVisible();
        hourglassWhileGathering = busy::HourglassShown();
        statusWhileGathering = busy::StatusText(view.StatusBar1);
        return fields;
    };
    services.listFixedDrives = [] {
        return sysinfo::FixedDriveListing{
            {QStringLiteral("Drive /"), QStringLiteral("Drive /home")},
            QStringLiteral("/ 100 Gb; /home 200 Gb")};
    };
    services.openUrl = [this](const QUrl& url) {
        openedUrls.append(url);
        return true;
    };
    services.databasePath = directory.filePath(QStringLiteral("base.ini"));
    if (runPages) {
        const bench::VideoKernels video{[this](bench::VideoCanvas& canvas, int width, int height) {
            return videoTest ? videoTest(canvas, width, height) : std::int64_t{314'572'800};
        }};
        services.pages = std::make_shared<RealBenchmarkPages>(
            bench::ProcessorKernels{[] { return 600; }, [] { return 300; }}, video);
    } else {
        services.pages = std::make_shared<RecordingPages>(handlers);
    }
    forms = CreateForms(std::move(services));
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
