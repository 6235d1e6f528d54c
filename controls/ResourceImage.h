// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

enum TResourceImageType
{
    riBitmap,
    riIcon,
    riCursor
};

// Draws a named picture from the program's resources: icons come from
// ":/icons/<NAME>.png", bitmaps from ":/bitmaps/<NAME>.png". A cursor is
// loaded and drawn as the icon of that name. The image is drawn at its own
// size from the top-left corner (cut to the control) or stretched to the
// control, without erasing what lies beneath: transparent icon pixels show
// the parent. Bitmaps are opaque. A name that is not found draws nothing.
class TResourceImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString ResourceName READ resourceName WRITE setResourceName)
    Q_PROPERTY(bool Stretched READ stretched WRITE setStretched)

public:
    explicit TResourceImage(QWidget* parent = nullptr);
    ~TResourceImage() override;

    TResourceImageType imageType() const { return m_imageType; }
    // A different type reloads the image by the new type; no repaint.
    void setImageType(TResourceImageType type);
    QString resourceName() const { return m_resourceName; }
    // A different name (case-sensitive) reloads and repaints at once.
    void setResourceName(const QString& name);
    bool stretched() const { return m_stretched; }
    // Always repaints at once, changed or not.
    void setStretched(bool stretched);

    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Load();
    void Release();

    TResourceImageType m_imageType = riIcon;
    QString m_resourceName;
    QImage m_image;
    bool m_stretched = false;
};
