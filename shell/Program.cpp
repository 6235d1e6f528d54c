// SPDX-License-Identifier: GPL-3.0-or-later
#include "Program.h"

#include "Application.h"
#include "ApplicationStart.h"
#include "DisplayPlan.h"
#include "EditorLink.h"
#include "Fonts.h"
#include "Locations.h"
#include "QtArguments.h"
#include "ReportLauncher.h"
#include "database/ComparisonDatabase.h"
#include "platform/Terminal.h"
#include "resources/Resources.h"
#include "session/FileNames.h"

#include <QIcon>

#include <cstdio>

namespace {

QIcon OwnIcon()
{
    QIcon own;
    own.addFile(resources::AppIcon48, QSize(48, 48));
    own.addFile(resources::AppIcon256, QSize(256, 256));
    return own;
}

void CreateOtherForms(TForms& forms)
{
    forms.Form2 = std::make_unique<TForm2>();
    // The dialogs are owned by the window that opens them, so a window manager
    // minimises and restores them together.
    forms.Form3 = std::make_unique<TForm3>(EditorServices(*forms.Form1), forms.Form1.get());
    forms.Form4 = std::make_unique<TForm4>(forms.Form3.get());
    forms.Form5 = std::make_unique<TForm5>(forms.Form1.get());
    forms.Form3->setEditDialog(forms.Form4.get());

    TForm1* main = forms.Form1.get();
    main->setWindows(forms.Form3.get(), forms.Form5.get(), forms.Form2.get());
    // The about box names the database in use, as a tool tip that leaves its layout alone.
    forms.Form5->setToolTip(DatabaseInUseText(main->database().path()));
    // When the test surface goes, the focus returns to the main window, which
    // is painted again before the activation's probes block the thread.
    QObject::connect(forms.Form2.get(), &TForm2::hidden, main, &TForm1::ActivateWhenRepainted,
                     Qt::QueuedConnection);
}

} // namespace

QIcon ApplicationIcon()
{
    // The theme's icon is the one the desktop entry names; a program that is
    // not installed carries the same pictures.
    return QIcon::fromTheme(QStringLiteral(QUORVIX_APP_ID), OwnIcon());
}

TForms CreateMainForm(TForm1Services services)
{
    // Every window without an icon of its own, message boxes included. The
    // theme's lookup loads the toolkit's image plugins: it waits until the
    // splash is painted, which shows the same pictures.
    QApplication::setWindowIcon(OwnIcon());
    TForms forms;
    forms.Form1 = std::make_unique<TForm1>(std::move(services));
    return forms;
}

void CreateOtherFormsAfterSplash(TForms& forms)
{
    QObject::connect(forms.Form1.get(), &TForm1::splashShown, forms.Form1.get(), [&forms] {
        QApplication::setWindowIcon(ApplicationIcon());
        RegisterLogFont();
        CreateOtherForms(forms);
    });
}

namespace {

const char* const kNeedsDisplay =
    "Quorvix 2000 needs a display for its window: %s.\n"
    "Start it from a desktop session, or print the results without a window:\n\n"
    "  quorvix --report\n";

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << report::FileNameText(QByteArray(argv[i])); // keeps every byte
    return arguments;
}

} // namespace

int RunProgram(int argc, char** argv)
{
    platform::ReserveStandardDescriptors();
    IgnoreRelativeXdgDirectories();
    // The window takes only Qt's own options; anything else is for the
    // command line.
    const report::CommandLine line = report::ParseCommandLine(argumentList(argc, argv));
    if (line.action != report::CommandLine::Action::Window)
        return RunCommandLine(argv[0], line);
    // Where Qt would find no screen for the window (and abort), the reason.
    const DisplayPlan plan = PlanDisplay(QProcessEnvironment::systemEnvironment(),
                                         line.qtOptionNames, platform::X11DisplayReachable);
    if (!plan.noDisplay.isEmpty()) {
        std::fprintf(stderr, kNeedsDisplay, qPrintable(plan.noDisplay));
        return 1;
    }
    QtArguments qtArguments(argv[0], line.qtOptions, plan.platform);
    const auto application = StartApplication(
        qtArguments.argc(), qtArguments.argv(),
        QString::asprintf(
            kNeedsDisplay,
            qPrintable(QStringLiteral("Qt could not connect to it (%1)").arg(DisplayVariables()))));
    // The splash goes on the screen first: the windows it does not show, and
    // the log's font, are made once it is painted, before the first
    // activation gathers the overview.
    SetUpWindowFonts();
    TForms forms = CreateMainForm();
    CreateOtherFormsAfterSplash(forms);
    QObject::connect(forms.Form1.get(), &TForm1::closed, application.get(),
                     &QCoreApplication::quit);
    forms.Form1->show();
    return application->exec();
}
