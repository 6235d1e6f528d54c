// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/EditorRows.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TForm4;
}

// The Edit dialog: one row's description and values. Esc closes it not; the
// close box and "&Cancel" cancel, "Ok" (the default button) accepts.
class TForm4 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    // Shows the row in the boxes with the list's labels; the third box is
    // empty and disabled for a single-value list.
    void setRow(ListKind kind, const EditorRow& row);
    // The row as the boxes hold it, exactly as typed; a single-value list
    // keeps the row's own second value.
    EditorRow row(ListKind kind, const EditorRow& before) const;

    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TForm4> m_ui;
};
