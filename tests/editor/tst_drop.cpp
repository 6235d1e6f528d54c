// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_classes.h"

#include "EditorFixture.h"
#include "FindChild.h"

#include "bench/ReferenceMachine.h"
#include "report/AddReference.h"
#include "report/CommandLine.h"
#include "session/FileNames.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <fstream>

namespace {

const QByteArray kBase = "[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Memory]\n"
                         "Old=100\n";

// A saved result of this version with a memory figure and a processor's pass counts.
QByteArray Result()
{
    const QString text =
        R"json({"program": "Quorvix 2000", "version": "%1", "schemaVersion": 2,
            "overview": {"processor": "Test CPU", "memory": "2048 Mb (used 3%)"},
            "results": {"cpu": {"median": 1, "passes": {"median": 800}},
                        "fpu": {"median": 1, "passes": {"median": 200}},
                        "memory": {"median": 5000}}})json";
    return text.arg(report::ProgramVersion()).toUtf8();
}

// The window on a base.ini, its drops read as the program reads them.
struct DropFixture : EditorFixture
{
    DropFixture() : EditorFixture(kBase)
    {
        dropped = [this](const QList<QUrl>& urls, const DatabaseLists& present) {
            QStringList files;
            for (const QUrl& url : urls)
                files << report::LocalFileName(url);
            return report::RowsToAdd(files, present, bench::LoadScaling(database));
        };
    }

    QString file(const QString& name, const QByteArray& bytes) const
    {
        const QString path = directory.filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

    // Drags the files over the window and drops them; whether it took them.
    bool drop(const QStringList& files)
    {
        QList<QUrl> urls;
        for (const QString& name : files)
            urls << QUrl::fromLocalFile(name);
        return dropUrls(urls);
    }

    bool dropUrls(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint centre = form3.rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form3, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form3, &drop);
        return true;
    }
};

} // namespace

void TestEditorDrop::dropAddsUnsavedRows_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("Ok writes them") << true;
    QTest::newRow("Cancel drops them") << false;
}

void TestEditorDrop::dropAddsUnsavedRows()
{
    QFETCH(bool, ok);
    DropFixture f;
    QVERIFY(f.open());
    const QString result = f.file("result.json", Result());
    const QString other = f.file("other.ini", "[Memory]\nNew=7\nold= 200\n[Drive]\nDisk=9\n");
    QVERIFY(f.drop({result, other}));
    QCOMPARE(f.errors, QStringList());
    // Shown at once, not yet written; the clash with "Old" is told apart.
    QCOMPARE(f.descriptions(lkMemory), (QStringList{"Old", "Ваши 2048 Mb", "New", "old (2)"}));
    QCOMPARE(f.rows(lkProcessor), (EditorList{{"Test CPU", "600", "300"}}));
    QCOMPARE(f.descriptions(lkHdd), QStringList{"Disk"});
    QCOMPARE(f.fileBytes(), kBase);
    const char* button = ok ? "Button1" : "Button2";
    QTest::mouseClick(FindChild<QPushButton>(f.form3, button), Qt::LeftButton);
    QCOMPARE(f.errors, QStringList());
    if (ok)
        QCOMPARE(f.fileBytes(), "[DATA]\nPIIMultCPU=400\nPIIMultFPU=200\nPIIFreq=300\n[Processor]\n"
                                "Test CPU=600,300\n[Memory]\nOld=100\nВаши 2048 Mb=5000\nNew=7\n"
                                "old (2)=200\n[Drive]\nDisk=9\n");
    else
        QCOMPARE(f.fileBytes(), kBase);
    QVERIFY(f.open());
    QCOMPARE(f.descriptions(lkMemory).size(), ok ? 4 : 1);
}

// A file that is no result nor base.ini: its name in the message, no row added.
void TestEditorDrop::refusedFileAddsNothing()
{
    DropFixture f;
    QVERIFY(f.open());
    const QString good = f.file("result.json", Result());
    const QString foreign = f.file("notes.json", "{\"title\": \"notes\"}");
    QVERIFY(f.drop({good, foreign}));
    QCOMPARE(f.errors.size(), 1);
    QVERIFY2(f.errors[0].startsWith(foreign + ": foreign file"), qPrintable(f.errors[0]));
    QCOMPARE(f.descriptions(lkMemory), QStringList{"Old"});
    // Only local files are taken.
    QMimeData web;
    web.setUrls({QUrl("https://example.org/result.json")});
    QDragEnterEvent enter({1, 1}, Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.form3, &enter);
    QVERIFY(!enter.isAccepted());
}

// A file manager names a file by its bytes, percent-encoded, whether or not
// they are UTF-8: the file read is the one dropped.
void TestEditorDrop::fileNameBytesKept_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("byte 0xFF") << QByteArray("r\xff.json");
    QTest::newRow("Latin-1 e acute") << QByteArray("r\xe9sum\xe9.json");
    QTest::newRow("UTF-8") << QByteArray("\xd0\x92\xd0\xb0\xd1\x88\xd0\xb8.json");
    QTest::newRow("blank, percent, hash") << QByteArray("a b%25#1.json");
}

void TestEditorDrop::fileNameBytesKept()
{
    QFETCH(QByteArray, name);
    DropFixture f;
    QVERIFY(f.open());
    const QByteArray path = QFile::encodeName(f.directory.path()) + '/' + name;
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << Result().toStdString();
        QVERIFY(out.good());
    }
    const QUrl url = QUrl::fromEncoded("file://" + path.toPercentEncoding("/"));
    QVERIFY(url.isValid());
    QVERIFY(f.dropUrls({url}));
    QCOMPARE(f.errors, QStringList());
    QCOMPARE(f.descriptions(lkMemory), (QStringList{"Old", "Ваши 2048 Mb"}));
    QCOMPARE(report::FileNameBytes(report::LocalFileName(url)), path);
}
