// SPDX-License-Identifier: GPL-3.0-or-later
// save_helper FILE: saves a log of 1,000 lines of 100 characters to FILE as
// the program saves its log; prints the error and exits 1 on failure. The
// save tests run it under a file-size limit that no test process should have.
#include "session/SaveLog.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QStringList lines(1000, QString(100, QLatin1Char('x')));
    try {
        report::SaveLog(QString::fromLocal8Bit(argv[1]), lines);
    } catch (const report::SaveError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
