// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

// The argument vector the application object gets: the program's name and
// Qt's own options from the command line (report::CommandLine::qtOptions),
// in the bytes they were given, and "-platform NAME" where the program chose
// the platform. It outlives the application object, which keeps pointers
// into it.
class QtArguments
{
public:
    QtArguments(const char* program, const QStringList& qtOptions, const QString& platform = {});
    QtArguments(const QtArguments&) = delete;
    QtArguments& operator=(const QtArguments&) = delete;

    int& argc() { return m_argc; }
    char** argv() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_bytes;
    std::vector<char*> m_pointers;
    int m_argc = 0;
};
