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
    QTest::newRow("plain") << "Disk full" << "Disk full.";
    QTest::newRow("ends in full stop") << "Done." << "Done.";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("question mark sorts after") << "Why?" << "Why?.";
    QTest::newRow("slash sorts after") << "a/" << "a/.";
    QTest::newRow("hyphen sorts before") << "range 1-" << "range 1-";
    QTest::newRow("comma sorts before") << "x," << "x,";
    QTest::newRow("blank sorts before") << "trailing " << "trailing ";
    QTest::newRow("percent sorts before") << "50%" << "50%";
    QTest::newRow("quote sorts before") << "'abc'" << "'abc'";
    QTest::newRow("integer error") << "'x' is not a valid integer value" << "'x' is not a valid integer value.";
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

// A control whose click handler fails, as a command would.
class FailingButton : public QPushButton
{
protected:
    void mousePressEvent(QMouseEvent*) override { throw std::runtime_error("Cannot read the drive"); }
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
    FailingButton button;
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    SeenBox seen;
    captureAndClose(&seen);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(seen.text, QStringLiteral("Cannot read the drive."));
    QCOMPARE(seen.caption, QStringLiteral("Quorvix 2000"));
    QVERIFY(button.isVisible());  // the program goes on
}
