// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "shell/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "shell/Dialogs.h"

#include <stdexcept>

void TestErrorReport::fullStopRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Disk full"
                           << "Disk full.";
    QTest::newRow("ends in full stop") << "Done."
                                       << "Done.";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("question mark sorts after") << "Why?"
                                               << "Why?.";
    QTest::newRow("slash sorts after") << "a/"
                                       << "a/.";
    QTest::newRow("hyphen sorts before") << "range 1-"
                                         << "range 1-";
    QTest::newRow("comma sorts before") << "x,"
                                        << "x,";
    QTest::newRow("blank sorts before") << "trailing "
                                        << "trailing ";
    QTest::newRow("percent sorts before") << "50%"
                                          << "50%";
    QTest::newRow("quote sorts before") << "'abc'"
                                        << "'abc'";
    QTest::newRow("integer error") << "'x' is not a valid integer value"
                                   << "'x' is not a valid integer value.";
    QTest::newRow("cyrillic") << QString::fromUtf8("Ошибка") << QString::fromUtf8("Ошибка.");
}

void TestErrorReport::fullStopRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
}

namespace {

// The text of the next error box, taken instead of showing it.
void captureNextError(QString* seen)
{
    Dialogs::SetNextErrorAnswer([seen](const QString& text) { *seen = text; });
}

// An object whose event handler fails. Commands are guarded at their own
// connection; this is the backstop for anything that escapes one.
class FailingReceiver : public QObject
{
protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Cannot read the drive");
        return QObject::event(event);
    }
};

} // namespace

void TestErrorReport::guardedCommandShowsBox()
{
    QString seen;
    captureNextError(&seen);
    bool rest = false;
    RunGuarded([&rest] {
        throw std::runtime_error("Scratch file not created");
        rest = true;
    });
    // The error ended the command where it was raised.
    QVERIFY(!rest);
    QCOMPARE(seen, QStringLiteral("Scratch file not created."));
}

void TestErrorReport::errorBoxLook()
{
    const auto box = Dialogs::MakeErrorBox(QStringLiteral("Disk full."));
    QCOMPARE(box->windowTitle(), QStringLiteral("Quorvix 2000"));
    QCOMPARE(box->text(), QStringLiteral("Disk full."));
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QCOMPARE(box->standardButtons(), QMessageBox::Ok);
}

void TestErrorReport::escapedEventErrorShowsBox()
{
    FailingReceiver receiver;
    QString seen;
    captureNextError(&seen);
    QEvent event(QEvent::User);
    QVERIFY(QCoreApplication::sendEvent(&receiver, &event)); // handled, not fatal
    QCOMPARE(seen, QStringLiteral("Cannot read the drive."));
}
