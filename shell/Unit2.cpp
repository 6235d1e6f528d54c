// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unit2.h"

#include "ui_Unit2.h"

#include <QMouseEvent>

TForm2::TForm2(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::TForm2>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setGeometry(128, 46, 407, 379);
}

TForm2::~TForm2() = default;

void TForm2::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    FormMouseDown();
}

void TForm2::FormMouseDown()
{
    close();
}

void TForm2::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit hidden();
}
