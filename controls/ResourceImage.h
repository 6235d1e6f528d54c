#pragma once

#include <QWidget>

enum TResourceImageType
{
    riBitmap,
    riIcon,
    riCursor
};

// Draws a named picture from the program's resources: icons come from
// ":/icons/<NAME>.png", bitmaps from ":/bitmaps/<NAME>.png".
// (Interface fixed; loading and drawing arrive with the display components.)
class TResourceImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString ResourceName READ resourceName WRITE setResourceName)
    Q_PROPERTY(bool Stretched READ stretched WRITE setStretched)

public:
    explicit TResourceImage(QWidget* parent = nullptr);
    ~TResourceImage() override;

    TResourceImageType imageType() const { return m_imageType; }
    void setImageType(TResourceImageType type) { m_imageType = type; }
    QString resourceName() const { return m_resourceName; }
    void setResourceName(const QString& name) { m_resourceName = name; }
    bool stretched() const { return m_stretched; }
    void setStretched(bool stretched) { m_stretched = stretched; }

private:
    TResourceImageType m_imageType = riIcon;
    QString m_resourceName;
    bool m_stretched = false;
};
