#pragma once

#include <QString>
#include <QStringList>

namespace report {

// The tests a report runs, by the names --tests takes.
inline const QStringList kTestNames{"cpu", "fpu", "memory", "video", "disk"};

struct ReportOptions
{
    QStringList tests = kTestNames; // cpu and fpu both stand for the processor page
    QStringList drives;             // paths on the drives to test; empty: every drive
    bool json = false;              // the results as one JSON document
    bool ini = false;               // the results as base.ini rows
    bool verbose = false;           // progress and warnings on stderr also when it is no terminal
    int repeat = 1;                 // runs, 1 to 100
    QString output;                 // the log saved to this file instead of printed
};

// What the command line asks for.
struct CommandLine
{
    enum class Action
    {
        Window, // no arguments: the program's window
        Help,
        Version,
        Report,
        Error, // `error` says what is wrong; `usage` goes with it
    };
    Action action = Action::Window;
    ReportOptions options;
    QString error;
    QString usage;
};

inline constexpr int kMaxRepeat = 100;

// `arguments` includes the program's name first. Any of --json, --ini,
// --repeat, --output, --tests, --drive and --verbose implies --report.
// --drive adds disk to the tests.
CommandLine ParseCommandLine(const QStringList& arguments);

// The project's version, "1.03".
QString ProgramVersion();

// "quorvix <version>".
QString VersionText();

} // namespace report
