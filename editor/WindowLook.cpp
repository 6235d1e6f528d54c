#include "editor/WindowLook.h"

#include <QKeyEvent>
#include <QKeySequence>

QFont EditorFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

bool IgnoresEscape(QKeyEvent* event)
{
    if (!event->matches(QKeySequence::Cancel))
        return false;
    event->ignore();
    return true;
}
