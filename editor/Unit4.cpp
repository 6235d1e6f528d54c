// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Unit4.h"

#include "ui_Unit4.h"

#include "controls/DialogFlags.h"
#include "controls/ProgramFont.h"
#include "editor/EscapeKey.h"

#include <QKeyEvent>

TForm4::TForm4(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm4>())
{
    m_ui->setupUi(this);
    setWindowFlags(DialogTitleBar);
    setFont(ProgramFont());
    setFixedSize(size());
    connect(m_ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TForm4::~TForm4() = default;

void TForm4::setRow(ListKind kind, const EditorRow& row)
{
    const ListShape shape = ShapeOf(kind);
    const bool two = HasTwoValues(kind);
    m_ui->Edit1->setText(row.description);
    m_ui->Edit2->setText(row.first);
    m_ui->Edit3->setText(two ? row.second : QString());
    m_ui->Edit3->setEnabled(two);
    m_ui->Label2->setText(shape.firstCaption);
    m_ui->Label3->setText(shape.secondCaption);
}

EditorRow TForm4::row(ListKind kind, const EditorRow& before) const
{
    return {m_ui->Edit1->text(), m_ui->Edit2->text(),
            HasTwoValues(kind) ? m_ui->Edit3->text() : before.second};
}

void TForm4::FormActivate()
{
    m_ui->Edit1->setFocus();
}

void TForm4::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TForm4::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TForm4::keyPressEvent(QKeyEvent* event)
{
    if (IgnoresEscape(event))
        return;
    QDialog::keyPressEvent(event);
}
