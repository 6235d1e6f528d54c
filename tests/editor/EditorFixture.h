// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "database/ComparisonDatabase.h"
#include "editor/ListView.h"
#include "editor/Unit3.h"
#include "editor/Unit4.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>

// What the window had put into the Edit dialog when it was shown.
struct DialogSeen
{
    QString description, first, second, label2, label3;
    bool thirdEnabled = false;
    QPoint position;
};

// An answer to one showing of the Edit dialog: types the given texts, then
// says OK (true) or Cancel (false).
using DialogAnswer = std::function<bool(TForm4&)>;
DialogAnswer Accept(std::optional<QString> description, std::optional<QString> first = {},
                    std::optional<QString> second = {});
DialogAnswer Cancel();

// The Database window and the Edit dialog on a base.ini in a temporary
// directory; the dialog is answered from `answers`, errors are collected.
struct EditorFixture
{
    // The file at `name` under the temporary directory; nothing written
    // without `file`.
    explicit EditorFixture(const std::optional<QByteArray>& file = std::nullopt,
                           const QString& name = QStringLiteral("base.ini"));

    // Shows the window (which reloads its rows) and waits until it is exposed.
    bool open();
    QByteArray fileBytes() const; // "<missing>" when there is no file
    TListView* list(ListKind kind) const;
    // The rows as the list shows them, read through its model.
    EditorList rows(ListKind kind) const;
    QStringList descriptions(ListKind kind) const;
    // Presses a mouse button on a row, or on the empty part of the list (-1).
    void pressOn(ListKind kind, int row, Qt::MouseButton button) const;
    void add(ListKind kind, DialogAnswer answer);

    QTemporaryDir directory;
    QString path;
    ComparisonDatabase database;
    MachineValues machine;
    QList<DialogAnswer> answers;
    QList<DialogSeen> seen;
    QStringList errors;
    // What files dropped on the window give; empty: nothing.
    decltype(TForm3Services::droppedRows) dropped;
    TForm4 form4;
    TForm3 form3;
};

Q_DECLARE_METATYPE(EditorRow)

namespace QTest {
char* toString(const EditorRow& row);
}

// Writes a base.ini with exactly these bytes.
void WriteBytes(const QString& path, const QByteArray& bytes);
