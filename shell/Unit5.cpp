// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unit5.h"

#include "ui_Unit5.h"

#include "ErrorReport.h"
#include "Fonts.h"
#include "JpegImage.h"
#include "controls/DialogFlags.h"
#include "resources/Resources.h"

#include <QScreen>

#include <algorithm>

namespace {

QFont tahoma(int pixels, bool bold)
{
    return PixelFont(QStringLiteral("Tahoma"), pixels, bold);
}

} // namespace

TForm5::TForm5(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm5>())
{
    m_ui->setupUi(this);
    MakeDialogOf(this, parent);
    setFont(tahoma(11, false));
    m_ui->Label1->setFont(tahoma(24, true));
    m_ui->Label2->setFont(tahoma(24, true));
    m_ui->Label5->setFont(tahoma(11, true));
    setFixedSize(332, 186);
    // The credit lines follow the maker's name; where the bold name comes out
    // wider than planned, they move right instead of overlapping it.
    const int creditLeft =
        std::max(56, m_ui->Label5->x() +
                         m_ui->Label5->fontMetrics().horizontalAdvance(m_ui->Label5->text()) + 4);
    m_ui->Label6->move(creditLeft, m_ui->Label6->y());
    m_ui->Label7->move(creditLeft, m_ui->Label7->y());
    connect(m_ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    RunGuarded(
        [this] { m_ui->Image1->setPixmap(QPixmap::fromImage(LoadJpeg(resources::AboutPicture))); });
    const QRect area = screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

TForm5::~TForm5() = default;
