// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorFixture.h"

#include "FindChild.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

DialogAnswer Accept(std::optional<QString> description, std::optional<QString> first,
                    std::optional<QString> second)
{
    return [=](TForm4& dialog) {
        if (description)
            FindChild<QLineEdit>(dialog, "Edit1")->setText(*description);
        if (first)
            FindChild<QLineEdit>(dialog, "Edit2")->setText(*first);
        if (second)
            FindChild<QLineEdit>(dialog, "Edit3")->setText(*second);
        return true;
    };
}

DialogAnswer Cancel()
{
    return [](TForm4& dialog) {
        FindChild<QLineEdit>(dialog, "Edit1")->setText(QStringLiteral("typed, then cancelled"));
        return false;
    };
}

char* QTest::toString(const EditorRow& row)
{
    return qstrdup(QStringLiteral("{%1|%2|%3}")
                       .arg(row.description, row.first, row.second)
                       .toUtf8()
                       .constData());
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

namespace {

TForm3Services Services(EditorFixture& f)
{
    TForm3Services services;
    services.database = &f.database;
    services.machineValues = [&f] { return f.machine; };
    services.runEditDialog = [&f](TForm4& dialog) {
        const auto edit = [&dialog](const char* name) {
            return FindChild<QLineEdit>(dialog, name);
        };
        const auto label = [&dialog](const char* name) { return FindChild<QLabel>(dialog, name); };
        f.seen.append({edit("Edit1")->text(), edit("Edit2")->text(), edit("Edit3")->text(),
                       label("Label2")->text(), label("Label3")->text(), edit("Edit3")->isEnabled(),
                       dialog.pos()});
        if (f.answers.isEmpty()) {
            qWarning("Edit dialog shown with no answer ready");
            return false;
        }
        return f.answers.takeFirst()(dialog);
    };
    services.droppedRows = [&f](const QList<QUrl>& files, const DatabaseLists& present) {
        return f.dropped ? f.dropped(files, present) : DatabaseLists{};
    };
    services.runGuarded = [&f](const std::function<void()>& command) {
        try {
            command();
        } catch (const std::exception& error) {
            f.errors.append(QString::fromUtf8(error.what()));
        }
    };
    return services;
}

} // namespace

EditorFixture::EditorFixture(const std::optional<QByteArray>& file, const QString& name)
    : path(directory.filePath(name)), database(path), form3(Services(*this))
{
    QDir().mkpath(QFileInfo(path).path());
    if (file)
        WriteBytes(path, *file);
    form3.setEditDialog(&form4);
}

bool EditorFixture::open()
{
    form3.show();
    return QTest::qWaitForWindowExposed(&form3);
}

QByteArray EditorFixture::fileBytes() const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TListView* EditorFixture::list(ListKind kind) const
{
    return FindChild<TListView>(form3, ("ListView" + QByteArray::number(kind + 1)).constData());
}

EditorList EditorFixture::rows(ListKind kind) const
{
    const QAbstractItemModel* model = list(kind)->model();
    const auto text = [model](int row, int column) {
        return column < model->columnCount() ? model->index(row, column).data().toString()
                                             : QString();
    };
    EditorList rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows.append({text(row, 0), text(row, 1), text(row, 2)});
    return rows;
}

QStringList EditorFixture::descriptions(ListKind kind) const
{
    QStringList texts;
    for (const EditorRow& row : rows(kind))
        texts.append(row.description);
    return texts;
}

void EditorFixture::pressOn(ListKind kind, int row, Qt::MouseButton button) const
{
    TListView* view = list(kind);
    const QPoint point = row >= 0 ? view->visualRect(view->model()->index(row, 0)).center()
                                  : view->viewport()->rect().bottomLeft() + QPoint(4, -4);
    QTest::mousePress(view->viewport(), button, {}, point);
}

void EditorFixture::add(ListKind kind, DialogAnswer answer)
{
    FindChild<QTabWidget>(form3, "PageControl1")->setCurrentIndex(kind);
    answers.append(std::move(answer));
    FindChild<QAction>(form3, "N1")->trigger();
}
