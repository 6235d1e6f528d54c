#include "EditorFixture.h"

#include "ui_Unit3.h"
#include "ui_Unit4.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

DialogAnswer Accept(std::optional<QString> description, std::optional<QString> first,
                    std::optional<QString> second)
{
    return [=](TForm4& dialog) {
        if (description)
            dialog.ui().Edit1->setText(*description);
        if (first)
            dialog.ui().Edit2->setText(*first);
        if (second)
            dialog.ui().Edit3->setText(*second);
        return true;
    };
}

DialogAnswer Cancel()
{
    return [](TForm4& dialog) {
        dialog.ui().Edit1->setText(QStringLiteral("typed, then cancelled"));
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
        const Ui::TForm4& ui = dialog.ui();
        f.seen.append({ui.Edit1->text(), ui.Edit2->text(), ui.Edit3->text(), ui.Label2->text(),
                       ui.Label3->text(), ui.Edit3->isEnabled(), dialog.pos()});
        if (f.answers.isEmpty()) {
            qWarning("Edit dialog shown with no answer ready");
            return false;
        }
        return f.answers.takeFirst()(dialog);
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

QStringList EditorFixture::descriptions(ListKind kind) const
{
    QStringList texts;
    for (const EditorRow& row : form3.rows(kind))
        texts.append(row.description);
    return texts;
}

void EditorFixture::pressOn(ListKind kind, int row, Qt::MouseButton button) const
{
    TListView* list = form3.listOf(kind);
    const QPoint point = row >= 0 ? list->visualItemRect(list->item(row, 0)).center()
                                  : list->viewport()->rect().bottomLeft() + QPoint(4, -4);
    QTest::mousePress(list->viewport(), button, {}, point);
}

void EditorFixture::add(ListKind kind, DialogAnswer answer)
{
    form3.ui().PageControl1->setCurrentIndex(kind);
    answers.append(std::move(answer));
    form3.ui().N1->trigger();
}
