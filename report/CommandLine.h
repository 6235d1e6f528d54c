// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/Tests.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace report {

struct ReportOptions
{
    // cpu and fpu both stand for the processor page
    QList<TestId> tests = TestIds();
    QStringList drives;     // paths on the drives to test; empty: every drive
    bool json = false;      // the results as one JSON document
    bool ini = false;       // the results as base.ini rows
    bool verbose = false;   // progress and warnings on stderr also when it is no terminal
    bool context = true;    // the figures in context after the results
    int repeat = 1;         // runs, 1 to 100
    QString output;         // the log saved to this file instead of printed
    bool save = false;      // the JSON kept among the saved results
    bool anonymous = false; // computer name, user name and home folders left out
    QString database;       // the base.ini to use; empty: the program's own
};

// --compare: saved results, each a file or "last" / "previous".
struct CompareOptions
{
    QStringList results; // at least two
    bool json = false;
    double threshold = 5; // percent a figure may lose beyond the noise
};

// --add-reference: saved results and other base.ini files become rows of the database.
struct AddReferenceOptions
{
    QStringList files;      // at least one
    bool force = false;     // also results of another version or video method
    bool anonymous = false; // descriptions without the computer or user name
    QString database;       // the base.ini to add to; empty: the program's own
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
        Compare,
        AddReference,
        Error, // `error` says what is wrong; `usage` goes with it
    };
    Action action = Action::Window;
    ReportOptions options;
    CompareOptions compare;
    AddReferenceOptions addReference;
    QString error;
    QString usage;
    // The options every Qt program takes (-style Fusion, -platform xcb ...),
    // as given with their values, for the application object; and their
    // names without dashes ("style", "platform"). They go with any action.
    QStringList qtOptions;
    QStringList qtOptionNames;
};

inline constexpr int kMaxRepeat = 100;

// `arguments` includes the program's name first. Any of --json, --ini,
// --repeat, --output, --tests, --drive, --save, --no-context, --anonymous,
// --database and --verbose implies --report, unless --compare or
// --add-reference is given. --drive adds disk to the tests.
// Qt's own options are set aside first (qtOptions); with nothing else given
// the action is the window.
CommandLine ParseCommandLine(const QStringList& arguments);

// The project's version, "1.03".
QString ProgramVersion();

// "quorvix <version>".
QString VersionText();

} // namespace report
