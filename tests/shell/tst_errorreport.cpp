#include "tst_classes.h"

#include "shell/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "Fixture.h"

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

struct SeenBox
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

void captureAndClose(SeenBox* seen)
{
    onNextModal([seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr)
            return;
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        box->accept();
    });
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
    SeenBox seen;
    captureAndClose(&seen);
    bool after = false;
    RunGuarded([] { throw std::runtime_error("Scratch file not created"); });
    after = true;
    QVERIFY(after);
    QCOMPARE(seen.caption, QStringLiteral("Quorvix 2000"));
    QCOMPARE(seen.text, QStringLiteral("Scratch file not created."));
    QCOMPARE(seen.icon, QMessageBox::Critical);
}

void TestErrorReport::escapedEventErrorShowsBox()
{
    FailingReceiver receiver;
    SeenBox seen;
    captureAndClose(&seen);
    QEvent event(QEvent::User);
    QVERIFY(QCoreApplication::sendEvent(&receiver, &event)); // handled, not fatal
    QCOMPARE(seen.text, QStringLiteral("Cannot read the drive."));
    QCOMPARE(seen.caption, QStringLiteral("Quorvix 2000"));
}
