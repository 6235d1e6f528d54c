#include "Fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QToolTip>

int RegisterFonts(const QString& directory)
{
    int registered = 0;
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf", "fixedsys.ttf"}) {
        const QString path = QDir(directory).filePath(QString::fromLatin1(file));
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            ++registered;
    }
    return registered;
}

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont ProgramFont()
{
    return PixelFont(QStringLiteral("Tahoma"), 11);
}

void SetUpFonts(const QString& directory)
{
    RegisterFonts(directory);
    QApplication::setFont(ProgramFont());
    // A platform theme may hand tool tips a font of their own class.
    QToolTip::setFont(ProgramFont());
}
