// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResourceImage.h"

#include <QPainter>

TResourceImage::TResourceImage(QWidget* parent) : QWidget(parent)
{
    // Drawn over the parent's painting without erasing it first.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
    resize(32, 32);
}

TResourceImage::~TResourceImage() = default;

void TResourceImage::setImageType(TResourceImageType type)
{
    if (type == m_imageType)
        return;
    Release();
    m_imageType = type;
    Load();
}

void TResourceImage::setResourceName(const QString& name)
{
    if (name == m_resourceName)
        return;
    Release();
    m_resourceName = name;
    Load();
    repaint();
}

void TResourceImage::setStretched(bool stretched)
{
    m_stretched = stretched;
    repaint();
}

void TResourceImage::Load()
{
    if (m_resourceName.isEmpty())
        return;
    if (m_imageType == riBitmap) {
        const QImage bitmap(QStringLiteral(":/bitmaps/%1.png").arg(m_resourceName));
        if (!bitmap.isNull())
            m_image = bitmap.convertToFormat(QImage::Format_RGB32);
    } else {
        m_image = QImage(QStringLiteral(":/icons/%1.png").arg(m_resourceName));
    }
}

void TResourceImage::Release()
{
    m_image = QImage();
}

void TResourceImage::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    if (m_stretched)
        painter.drawImage(rect(), m_image);
    else
        painter.drawImage(0, 0, m_image);
}
