// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "FindChild.h"
#include "Fixture.h"
#include "shell/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

void TestWindows::createdHiddenExceptMain()
{
    ShellFixture f;
    const QList<QWidget*> others{f.forms.Form2.get(), f.forms.Form3.get(), f.forms.Form4.get(),
                                 f.forms.Form5.get()};
    QVERIFY(f.showAndActivate());
    for (QWidget* window : others)
        QVERIFY(!window->isVisible());
    QVERIFY(f.form().isVisible());

    TForm2& surface = *f.forms.Form2;
    QVERIFY(surface.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(surface.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(surface.geometry(), QRect(128, 46, 407, 379));
    QCOMPARE(surface.palette().color(QPalette::Window), QColor(Qt::black));

    TForm5& about = *f.forms.Form5;
    QCOMPARE(about.windowTitle(), QStringLiteral("About ..."));
    QCOMPARE(about.minimumSize(), QSize(332, 186));
    QCOMPARE(about.maximumSize(), QSize(332, 186));
}

void TestWindows::everyWindowHasTheApplicationIcon()
{
    // The title bar's icon is the desktop entry's (its 48 and 256 pixel
    // pictures), not the toolkit's default.
    ShellFixture f;
    const QIcon application = QApplication::windowIcon();
    QVERIFY(application.availableSizes().contains(QSize(48, 48)));
    QVERIFY(application.availableSizes().contains(QSize(256, 256)));
    const QList<QWidget*> windows{f.forms.Form1.get(), f.forms.Form2.get(), f.forms.Form3.get(),
                                  f.forms.Form4.get(), f.forms.Form5.get()};
    for (QWidget* window : windows)
        QVERIFY2(window->windowIcon().cacheKey() == application.cacheKey(),
                 window->metaObject()->className());
}

void TestWindows::othersAreMadeAfterTheSplashBeforeTheProbes()
{
    ShellFixture f({}, true);
    QVERIFY(!f.forms.Form2 && !f.forms.Form3 && !f.forms.Form4 && !f.forms.Form5);
    QVERIFY(f.showAndActivate());
    QVERIFY(f.othersExistWhileGathering);
    QVERIFY(f.splashVisibleWhileGathering);
    QCOMPARE(f.forms.Form5->parentWidget(), &f.form());
    QCOMPARE(f.forms.Form4->parentWidget(), f.forms.Form3.get());

    // Later activations make nothing again.
    const TForm2* surface = f.forms.Form2.get();
    f.form().FormActivate();
    QCOMPARE(f.gatherCount, 2);
    QCOMPARE(f.forms.Form2.get(), surface);
}

void TestWindows::commandsBeforeThePagesDoNothing()
{
    ShellFixture afterSplash({}, true);
    const QSize size = afterSplash.form().size();
    QVERIFY(afterSplash.form().findChild<QWidget*>(QStringLiteral("Edit1")) == nullptr);
    QVERIFY(afterSplash.form().findChild<QWidget*>(QStringLiteral("Image2")) != nullptr);
    // A command before the pages exist does nothing, and does not fail.
    afterSplash.form().findChild<QAction*>(QStringLiteral("N11"))->trigger();
    QTest::keyClick(&afterSplash.form(), Qt::Key_Return); // no page's default button yet
    QVERIFY(afterSplash.takeHandlers().isEmpty());

    QVERIFY(afterSplash.showAndActivate());
    QCOMPARE(afterSplash.form().size(), size);
}

void TestWindows::surfaceHidesOnAnyButton_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestWindows::surfaceHidesOnAnyButton()
{
    QFETCH(Qt::MouseButton, button);
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    f.takeHandlers();
    TForm2& surface = *f.forms.Form2;
    surface.setGeometry(0, 0, 300, 200);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    QTest::mouseClick(&surface, button, {}, QPoint(150, 100));
    QVERIFY(!surface.isVisible());
    // The focus goes back to the main window: it activates again.
    QTRY_VERIFY(f.handlers.contains(QStringLiteral("FormActivate")));
    QCOMPARE(f.gatherCount, 2);
}

void TestWindows::aboutBoxContent()
{
    ShellFixture f;
    const TForm5& about = *f.forms.Form5;
    const auto label = [&about](const char* name) { return FindChild<QLabel>(about, name); };
    QCOMPARE(label("Label1")->text(), QStringLiteral("Quorvix 2000"));
    QCOMPARE(label("Label2")->text(), QStringLiteral("Quorvix 2000"));
    QCOMPARE(label("Label3")->text(), QStringLiteral("Designed by Varnholt"));
    QCOMPARE(label("Label4")->text(),
             QStringLiteral("System information and benchmark. Version 1.03"));
    QCOMPARE(label("Label5")->text(), QStringLiteral("Varnholt:"));
    QVERIFY(label("Label6")->text().contains(QStringLiteral("the Quorvix 2000 team")));
    QVERIFY(label("Label7")->text().contains(QStringLiteral("the Quorvix 2000 team")));
    QCOMPARE(FindChild<QPushButton>(about, "Button1")->text(), QStringLiteral("Ok"));
    QVERIFY(label("Label6")->x() >=
            label("Label5")->x() +
                label("Label5")->fontMetrics().horizontalAdvance(label("Label5")->text()));
    QCOMPARE(label("Image1")->pixmap().size(), QSize(100, 135));
    // The yellow title lies over the black one, which shows as a shadow 4 px
    // right and down.
    QCOMPARE(label("Label1")->pos() - label("Label2")->pos(), QPoint(4, 4));
    QCOMPARE(f.forms.Form5->childAt(label("Label2")->geometry().center()), label("Label2"));
    QCOMPARE(QFontInfo(label("Label2")->font()).pixelSize(), 24);
    QCOMPARE(label("Label2")->palette().color(QPalette::WindowText), QColor(Qt::yellow));
}

void TestWindows::aboutOkAndCloseBox_data()
{
    QTest::addColumn<bool>("useOk");
    QTest::newRow("Ok") << true;
    QTest::newRow("close box") << false;
}

void TestWindows::aboutOkAndCloseBox()
{
    QFETCH(bool, useOk);
    ShellFixture f;
    QVERIFY(f.showAndActivate());
    TForm5* about = f.forms.Form5.get();
    QDialog* seen = nullptr;
    Dialogs::SetNextModalAnswer([&seen, about, useOk](QDialog* dialog) {
        seen = dialog;
        dialog->open();
        if (useOk)
            QTest::mouseClick(FindChild<QPushButton>(*about, "Button1"), Qt::LeftButton);
        else
            dialog->close();
        return dialog->result();
    });
    f.widget<QAction>("N5")->trigger();
    QCOMPARE(seen, about);
    QVERIFY(!about->isVisible());
    QCOMPARE(about->result(), useOk ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(f.gatherCount, 2);
}

void TestWindows::saveDialogWantsAnExistingFolder_data()
{
    QTest::addColumn<QString>("folder"); // below the temporary folder
    QTest::addColumn<bool>("accepted");
    QTest::newRow("existing folder") << "" << true;
    QTest::newRow("missing folder") << "missing" << false;
    QTest::newRow("missing folder two levels down") << "missing/deeper" << false;
}

// A name in a folder that does not exist keeps the dialog open and says so,
// instead of a save that fails with "Cannot create file".
void TestWindows::saveDialogWantsAnExistingFolder()
{
    QFETCH(QString, folder);
    QFETCH(bool, accepted);
    QTemporaryDir root;
    const QString directory = folder.isEmpty() ? root.path() : root.filePath(folder);
    const auto dialog = Dialogs::MakeSaveDialog(nullptr, {"Save", "Testlog", "*.txt", "txt"});
    // Typed in whole, as a user does; selectFile would not leave its folder.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(name != nullptr);
    name->setText(directory + "/Testlog.txt");
    QString shown;
    Dialogs::SetNextErrorAnswer([&shown](const QString& text) { shown = text; });
    static_cast<QDialog*>(dialog.get())->accept(); // public there
    Dialogs::SetNextErrorAnswer(nullptr);
    QCOMPARE(dialog->result() == QDialog::Accepted, accepted);
    QCOMPARE(shown, accepted ? QString()
                             : directory + "\nThe folder does not exist. Check the folder name "
                                           "and try again.");
}
