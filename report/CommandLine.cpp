#include "report/CommandLine.h"

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
    QCommandLineOption json{"json", "Print the results as one JSON document instead of the log."};
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
    QCommandLineOption tests{"tests",
                             "Run only these tests, a comma-separated list of cpu, fpu, memory, "
                             "video and disk (cpu and fpu both run the processor page).",
                             "LIST"};
    QCommandLineOption drive{
        "drive", "Test only the drive that holds PATH (repeatable; implies disk).", "PATH"};
    QCommandLineOption verbose{"verbose",
                               "Progress and warnings on stderr also when it is not a terminal."};

    Parser()
    {
        parser.setApplicationDescription(
            "Quorvix 2000: system overview and benchmarks. Without options it opens its window.");
        parser.addOptions(
            {help, version, report, json, ini, repeat, output, tests, drive, verbose});
    }

    QString usage() const
    {
        // Qt names the program after the application object, which may not
        // exist yet when the line is parsed: the first line is ours.
        const QString text = parser.helpText();
        return QStringLiteral("Usage: quorvix [options]") +
               text.mid(text.indexOf(QLatin1Char('\n')));
    }
};

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
    const auto fail = [&line](const QString& error) {
        line.action = CommandLine::Action::Error;
        line.error = error;
        return line;
    };
    if (arguments.size() <= 1)
        return line;
    if (!p.parser.parse(arguments))
        return fail(p.parser.errorText());
    if (!p.parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("Unexpected argument '%1'.")
                        .arg(p.parser.positionalArguments().constFirst()));
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

    options.json = p.parser.isSet(p.json);
    options.ini = p.parser.isSet(p.ini);
    options.output = p.parser.value(p.output);
    if (options.json && options.ini)
        return fail(QStringLiteral("--json and --ini cannot be given together."));
    if (p.parser.isSet(p.output) && options.output.isEmpty())
        return fail(QStringLiteral("--output needs a file name."));
    if (options.output == QLatin1String("-") && (options.json || options.ini))
        return fail(QStringLiteral("--output - writes the log to standard output, where "
                                   "--json and --ini write theirs."));
    if (p.parser.isSet(p.repeat)) {
        bool ok = false;
        options.repeat = p.parser.value(p.repeat).toInt(&ok);
        if (!ok || options.repeat < 1 || options.repeat > kMaxRepeat)
            return fail(QStringLiteral("--repeat takes a whole number from 1 to %1, not '%2'.")
                            .arg(kMaxRepeat)
                            .arg(p.parser.value(p.repeat)));
    }
    if (p.parser.isSet(p.tests)) {
        options.tests.clear();
        for (const QString& name : p.parser.value(p.tests).split(QLatin1Char(','))) {
            const QString test = name.trimmed().toLower();
            if (!kTestNames.contains(test))
                return fail(QStringLiteral("--tests takes %1, not '%2'.")
                                .arg(kTestNames.join(QStringLiteral(", ")), name));
            if (!options.tests.contains(test))
                options.tests << test;
        }
    }
    options.drives = p.parser.values(p.drive);
    if (options.drives.contains(QString()))
        return fail(QStringLiteral("--drive needs a path."));
    if (!options.drives.isEmpty() && !options.tests.contains(QStringLiteral("disk")))
        options.tests << QStringLiteral("disk");
    line.action = CommandLine::Action::Report;
    return line;
}

} // namespace report
