#include "Fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QToolTip>

#include <initializer_list>

namespace {

int registerFiles(const QString& directory, std::initializer_list<const char*> files)
{
    int registered = 0;
    for (const char* file : files) {
        const QString path = QDir(directory).filePath(QString::fromLatin1(file));
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            ++registered;
    }
    return registered;
}

} // namespace

int RegisterWindowFonts(const QString& directory)
{
    return registerFiles(directory, {"tahoma.ttf", "tahomabd.ttf"});
}

int RegisterLogFont(const QString& directory)
{
    return registerFiles(directory, {"fixedsys.ttf"});
}

int RegisterFonts(const QString& directory)
{
    return RegisterWindowFonts(directory) + RegisterLogFont(directory);
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

QFont LogFont()
{
    return PixelFont(QStringLiteral("Fixedsys"), 19);
}

void SetUpWindowFonts(const QString& directory)
{
    RegisterWindowFonts(directory);
    QApplication::setFont(ProgramFont());
    // A platform theme may hand tool tips a font of their own class.
    QToolTip::setFont(ProgramFont());
}

void SetUpFonts(const QString& directory)
{
    SetUpWindowFonts(directory);
    RegisterLogFont(directory);
}
