// SPDX-License-Identifier: GPL-3.0-or-later
// The smallest Qt Widgets program: one window shown, then quit. Its peak
// resident set is the baseline the command-line report is measured against.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.show();
    QTimer::singleShot(100, &application, &QApplication::quit);
    return application.exec();
}
