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

namespace {

// Two drives; the second mount point holds a line break, shown escaped.
sysinfo::FixedDriveListing sampleDrives()
{
    return {{QStringLiteral("Drive /"), QStringLiteral("Drive /home/a\\012b")},
            QStringLiteral("/ 100 Gb; /home 200 Gb"),
            {QByteArray("/"), QByteArray("/home/a\nb")}};
}

} // namespace

ShellFixture::ShellFixture(bool runPages, const std::function<void(TForm1Services&)>& adjust,
                           bool splashFirst)
    : fields(sampleFields())
{
    if (!runPages) {
        create(std::make_shared<RecordingPages>(handlers), sampleDrives(), adjust, splashFirst);
        return;
    }
    const auto memory = [this](const QString& kernel, std::int64_t base) {
        return [this, kernel, base](std::uint32_t blockSize) {
            memoryCalls.append(kernel + ' ' + QString::number(blockSize));
            return (blockSize / 1024 + base) * 1'048'576;
        };
    };
    const bench::VideoKernels video{[this](bench::VideoCanvas& canvas, int width, int height) {
        return videoTest ? videoTest(canvas, width, height) : std::int64_t{314'572'800};
    }};
    create(std::make_shared<RealBenchmarkPages>(
               bench::ProcessorKernels{[] { return 600; }, [] { return 300; }},
               bench::RealDiskKernels(),
               bench::MemoryKernels{memory("read", 1000), memory("write", 2000)}, video),
           sampleDrives(), adjust, splashFirst);
}

ShellFixture::ShellFixture(std::shared_ptr<BenchmarkPages> pages, const QStringList& drives)
    : fields(sampleFields())
{
    create(std::move(pages), {drives, QStringLiteral("/ 100 Gb; /home 200 Gb"), {}}, {});
}

void ShellFixture::create(std::shared_ptr<BenchmarkPages> pages,
                          const sysinfo::FixedDriveListing& drives,
                          const std::function<void(TForm1Services&)>& adjust, bool splashFirst)
{
    TForm1Services services;
    services.gatherOverview = [this] {
        ++gatherCount;
        handlers.append(QStringLiteral("FormActivate"));
        if (beforeGather)
            beforeGather();
        const Form1View view = ui();
        splashVisibleWhileGathering = view.Panel4->isVisible();
        othersExistWhileGathering = forms.Form2 && forms.Form3 && forms.Form4 && forms.Form5;
        hourglassWhileGathering = busy::HourglassShown();
        statusWhileGathering = busy::StatusText(view.StatusBar1);
        return fields;
    };
    services.listFixedDrives = [drives] { return drives; };
    services.openUrl = [this](const QUrl& url) {
        openedUrls.append(url);
        return true;
    };
    services.databasePath = directory.filePath(QStringLiteral("base.ini"));
    services.pages = std::move(pages);
    if (adjust)
        adjust(services);
    if (!splashFirst) {
        forms = CreateForms(std::move(services));
        return;
    }
    forms = CreateMainForm(std::move(services));
    CreateOtherFormsAfterSplash(forms);
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
