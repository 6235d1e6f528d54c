// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/CommandLine.h"

#include "report/QtOptions.h"
#include "report/Version.h"

#include <QCommandLineParser>

namespace report {
namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption version{
        "version",
        "Show the program's version and exit; with --verbose, where it finds its files."};
    QCommandLineOption report{"report",
                              "Run all tests without the window and print the results log."};
    QCommandLineOption json{"json", "Print the results (or the comparison) as one JSON document."};
    QCommandLineOption ini{"ini",
                           "Print the results as base.ini rows instead of the log, ready to paste "
                           "into the four list sections."};
    QCommandLineOption repeat{
        "repeat", "Run all tests N times (1 to 100); the log shows each figure's median.", "N"};
    QCommandLineOption output{
        "output",
        "Save the log to FILE (CR LF line ends, replaced in one step) instead of printing it; "
        "- is standard output.",
        "FILE"};
    QCommandLineOption noContext{
        "no-context", "Leave out the section after the results that puts them in context (every "
                      "core, the effective clock, caches, the memory's limits and each tested "
                      "drive's reads, random blocks and synchronous writes); it adds about 5 "
                      "seconds on a busy two-CPU machine, and about 12 for each drive."};
    QCommandLineOption tests{"tests",
                             "Run only these tests, a comma-separated list of cpu, fpu, memory, "
                             "video and disk (cpu and fpu both run the processor page).",
                             "LIST"};
    QCommandLineOption drive{
        "drive",
        "Test only the drive that holds PATH, or the directory PATH where it is on no fixed "
        "drive (repeatable; implies disk).",
        "PATH"};
    QCommandLineOption verbose{"verbose",
                               "Progress and warnings on stderr also when it is not a terminal, "
                               "and Qt's own messages."};
    QCommandLineOption save{"save", "Keep the results as JSON in $XDG_DATA_HOME/quorvix/results "
                                    "(~/.local/share when unset), named by the time of the run."};
    QCommandLineOption compare{
        "compare", "Compare saved results (files, or 'last' and 'previous' for the newest two "
                   "kept ones), each with the first; exit status 3 when a figure got worse."};
    QCommandLineOption threshold{
        "threshold",
        "With --compare: how many percent a figure may lose beyond the noise (default 5).", "PCT"};
    QCommandLineOption addReference{
        "add-reference",
        "Add each saved result (--save, or what --json printed) and each other base.ini given as "
        "reference rows to the database; rows already there are skipped. Exit status 2 names a "
        "file that is no result."};
    QCommandLineOption force{"force", "With --add-reference: also add results of another program "
                                      "version or video method."};
    QCommandLineOption anonymous{
        "anonymous", "Leave the computer name, the user name and home folders out of the log, "
                     "the JSON, the rows and saved results (and, with --add-reference, out of "
                     "the rows added)."};
    QCommandLineOption database{
        "database",
        "Use FILE as the comparison database (base.ini) instead of the program's own; with "
        "--add-reference the rows go there.",
        "FILE"};

    Parser()
    {
        parser.setApplicationDescription(
            "Quorvix 2000: system overview and benchmarks. Without options it opens its window.\n"
            "Qt's own options (-style, -platform, -display, -reverse ...) go to Qt.");
        parser.addOptions(all());
        parser.addPositionalArgument(
            "files",
            "With --compare: the results to compare; with --add-reference: the results "
            "and base.ini files to add.",
            "[FILE ...]");
    }

    QList<QCommandLineOption> all() const
    {
        return {help,    version,   report,       json,      ini,       repeat,
                output,  tests,     drive,        noContext, verbose,   save,
                compare, threshold, addReference, force,     anonymous, database};
    }

    // "--output" and the others whose next argument is their value.
    QStringList withValue() const
    {
        QStringList names;
        for (const QCommandLineOption& option : all())
            if (!option.valueName().isEmpty())
                names << QStringLiteral("--") + option.names().constLast();
        return names;
    }

    QString usage() const
    {
        // Qt names the program after the application object, which may not
        // exist yet when the line is parsed: the first line is ours.
        const QString text = parser.helpText();
        return QStringLiteral("Usage: quorvix [options]\n"
                              "       quorvix --compare [--json] [--threshold PCT] RESULT RESULT "
                              "[RESULT ...]\n"
                              "       quorvix --add-reference [--force] [--anonymous] "
                              "[--database FILE] FILE [FILE ...]") +
               text.mid(text.indexOf(QLatin1Char('\n')));
    }
};

CommandLine failed(CommandLine& line, const QString& error)
{
    line.action = CommandLine::Action::Error;
    line.error = error;
    return line;
}

CommandLine reportLine(const Parser& p, CommandLine& line)
{
    if (!p.parser.positionalArguments().isEmpty())
        return failed(line, QStringLiteral("Unexpected argument '%1'.")
                                .arg(p.parser.positionalArguments().constFirst()));
    if (p.parser.isSet(p.threshold))
        return failed(line, QStringLiteral("--threshold goes with --compare."));
    if (p.parser.isSet(p.force))
        return failed(line, QStringLiteral("--force goes with --add-reference."));
    ReportOptions& options = line.options;
    options.anonymous = p.parser.isSet(p.anonymous);
    options.database = p.parser.value(p.database);
    if (p.parser.isSet(p.database) && options.database.isEmpty())
        return failed(line, QStringLiteral("--database needs a file name."));
    options.json = p.parser.isSet(p.json);
    options.ini = p.parser.isSet(p.ini);
    options.verbose = p.parser.isSet(p.verbose);
    options.save = p.parser.isSet(p.save);
    options.context = !p.parser.isSet(p.noContext);
    options.output = p.parser.value(p.output);
    if (options.json && options.ini)
        return failed(line, QStringLiteral("--json and --ini cannot be given together."));
    if (p.parser.isSet(p.output) && options.output.isEmpty())
        return failed(line, QStringLiteral("--output needs a file name."));
    if (options.output == QLatin1String("-") && (options.json || options.ini))
        return failed(line, QStringLiteral("--output - writes the log to standard output, where "
                                           "--json and --ini write theirs."));
    if (p.parser.isSet(p.repeat)) {
        bool ok = false;
        options.repeat = p.parser.value(p.repeat).toInt(&ok);
        if (!ok || options.repeat < 1 || options.repeat > kMaxRepeat)
            return failed(line,
                          QStringLiteral("--repeat takes a whole number from 1 to %1, not '%2'.")
                              .arg(kMaxRepeat)
                              .arg(p.parser.value(p.repeat)));
    }
    if (p.parser.isSet(p.tests)) {
        options.tests.clear();
        for (const QString& name : p.parser.value(p.tests).split(QLatin1Char(','))) {
            const std::optional<TestId> test = TestNamed(name.trimmed().toLower());
            if (!test)
                return failed(line, QStringLiteral("--tests takes %1, not '%2'.")
                                        .arg(TestNames().join(QStringLiteral(", ")), name));
            if (!options.tests.contains(*test))
                options.tests << *test;
        }
    }
    options.drives = p.parser.values(p.drive);
    if (options.drives.contains(QString()))
        return failed(line, QStringLiteral("--drive needs a path."));
    if (!options.drives.isEmpty() && !options.tests.contains(TestId::Disk))
        options.tests << TestId::Disk;
    line.action = CommandLine::Action::Report;
    return line;
}

CommandLine compareLine(const Parser& p, CommandLine& line)
{
    for (const QCommandLineOption* runOnly :
         {&p.report, &p.ini, &p.repeat, &p.output, &p.save, &p.noContext, &p.tests, &p.drive,
          &p.force, &p.anonymous, &p.database})
        if (p.parser.isSet(*runOnly))
            return failed(line, QStringLiteral("--%1 cannot be given with --compare.")
                                    .arg(runOnly->names().constFirst()));
    CompareOptions& options = line.compare;
    options.results = p.parser.positionalArguments();
    options.json = p.parser.isSet(p.json);
    if (options.results.size() < 2)
        return failed(line, QStringLiteral("--compare needs at least two results: files, 'last' "
                                           "or 'previous'."));
    if (p.parser.isSet(p.threshold)) {
        bool ok = false;
        options.threshold = p.parser.value(p.threshold).toDouble(&ok);
        if (!ok || !(options.threshold >= 0 && options.threshold <= 100))
            return failed(line, QStringLiteral("--threshold takes a percentage from 0 to 100, not "
                                               "'%1'.")
                                    .arg(p.parser.value(p.threshold)));
    }
    line.action = CommandLine::Action::Compare;
    return line;
}

CommandLine addReferenceLine(const Parser& p, CommandLine& line)
{
    for (const QCommandLineOption* other :
         {&p.report, &p.json, &p.ini, &p.repeat, &p.output, &p.save, &p.noContext, &p.tests,
          &p.drive, &p.compare, &p.threshold})
        if (p.parser.isSet(*other))
            return failed(line, QStringLiteral("--%1 cannot be given with --add-reference.")
                                    .arg(other->names().constFirst()));
    AddReferenceOptions& options = line.addReference;
    options.files = p.parser.positionalArguments();
    options.force = p.parser.isSet(p.force);
    options.anonymous = p.parser.isSet(p.anonymous);
    options.database = p.parser.value(p.database);
    if (options.files.isEmpty())
        return failed(line, QStringLiteral("--add-reference needs at least one saved result or "
                                           "base.ini file."));
    if (options.files.contains(QString()) ||
        (p.parser.isSet(p.database) && options.database.isEmpty()))
        return failed(line, QStringLiteral("--add-reference needs file names, not empty ones."));
    line.action = CommandLine::Action::AddReference;
    return line;
}

} // namespace

QString ProgramVersion()
{
    return QStringLiteral(QUORVIX_VERSION);
}

QString VersionText()
{
    return QStringLiteral("quorvix ") + ProgramVersion();
}

CommandLine ParseCommandLine(const QStringList& arguments)
{
    Parser p;
    CommandLine line;
    line.usage = p.usage();
    if (arguments.size() <= 1)
        return line;
    const QtOptionSplit split = SplitQtOptions(arguments, p.withValue());
    line.qtOptions = split.qt;
    line.qtOptionNames = split.names;
    if (!split.error.isEmpty())
        return failed(line, split.error);
    if (split.own.size() <= 1)
        return line;
    if (!p.parser.parse(split.own))
        return failed(line, p.parser.errorText());
    if (p.parser.isSet(p.help)) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    ReportOptions& options = line.options;
    options.verbose = p.parser.isSet(p.verbose);
    if (p.parser.isSet(p.version)) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    if (p.parser.isSet(p.addReference))
        return addReferenceLine(p, line);
    return p.parser.isSet(p.compare) ? compareLine(p, line) : reportLine(p, line);
}

} // namespace report
