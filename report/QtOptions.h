// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace report {

// The command line with the options every Qt program takes set aside.
struct QtOptionSplit
{
    QStringList own;   // the program's name and its own arguments, in order
    QStringList qt;    // Qt's options, each as "-name" and its value, as Qt reads them
    QStringList names; // their names without dashes, in order ("style", "platform")
    QString error;     // a Qt option without its value; empty when all is well
};

// Sets aside -style, -platform, -display, -reverse and the other options that
// Qt's application objects read (with one dash or two, a value after "=" or
// as the next argument). The argument after one of `ownWithValue` (the
// program's own options that take a value, "--output") is that option's
// value, never a Qt option; so is everything after "--".
QtOptionSplit SplitQtOptions(const QStringList& arguments, const QStringList& ownWithValue);

} // namespace report
