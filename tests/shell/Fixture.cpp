#include "Fixture.h"

#include "controls/Busy.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

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
        if (beforeGather)
            beforeGather();
        splashVisibleWhileGathering = forms.Form1->ui().Panel4->isVisible();
        hourglassWhileGathering = busy::HourglassShown();
        statusWhileGathering = busy::StatusText(forms.Form1->ui().StatusBar1);
        return fields;
    };
    services.listFixedDrives = [] {
        // The second mount point holds a line break, shown escaped.
        return sysinfo::FixedDriveListing{
            {QStringLiteral("Drive /"), QStringLiteral("Drive /home/a\\012b")},
            QStringLiteral("/ 100 Gb; /home 200 Gb"),
            {QByteArray("/"), QByteArray("/home/a\nb")}};
    };
    services.openUrl = [this](const QUrl& url) {
        openedUrls.append(url);
        return true;
    };
    services.databasePath = directory.filePath(QStringLiteral("base.ini"));
    services.runPageHandlers = runPages; // off: the command table is under test, not the benchmarks
    services.processorKernels = {[] { return 600; }, [] { return 300; }};
    forms = CreateForms(std::move(services));
    QObject::connect(forms.Form1.get(), &TForm1::handlerRan, forms.Form1.get(),
                     [this](const QString& name) { handlers.append(name); });
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

void onNextModal(const std::function<void(QWidget*)>& action)
{
    auto* timer = new QTimer;
    auto* tries = new int(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr || ++*tries > 100) {
            timer->stop();
            timer->deleteLater();
            delete tries;
            if (modal != nullptr)
                action(modal);
        }
    });
    timer->start(10);
}
