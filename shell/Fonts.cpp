#include "Fonts.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>

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
