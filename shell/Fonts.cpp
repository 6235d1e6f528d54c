// SPDX-License-Identifier: GPL-3.0-or-later
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
    // Not tahomabd.ttf: at the program's sizes it draws the same strokes as
    // the regular face, so bold labels came out regular. Bold drawn from the
    // regular face is bold and no wider.
    return registerFiles(directory, {"tahoma.ttf"});
}

int RegisterLogFont(const QString& directory)
{
    return registerFiles(directory, {"fixedsys.ttf"});
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
