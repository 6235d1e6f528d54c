// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ReportCommand.h"

#include "database/ComparisonDatabase.h"
#include "report/Anonymous.h"
#include "report/CompareCommand.h"
#include "report/IniRows.h"
#include "report/JsonReport.h"
#include "results/ResultStore.h"
#include "results/Statistics.h"
#include "session/FileNames.h"
#include "session/SaveLog.h"
#include "session/Tests.h"

#include <QDateTime>
#include <QFileInfo>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <exception>
#include <optional>

namespace report {
namespace {

// Figures whose runs spread more than this are flagged.
constexpr double kSteadyCv = 5.0;

void write(QIODevice* device, const QString& text)
{
    if (device != nullptr)
        device->write(text.toUtf8());
}

void writeLines(QIODevice* device, const QStringList& lines)
{
    for (const QString& line : lines)
        write(device, line + QLatin1Char('\n'));
}

// The log the report prints: the one composer's log of each figure's median
// over the runs. With one run it is the very log the session wrote.
QStringList MedianLog(const QList<AllTestsResults>& runs)
{
    return ComposeLog(MedianResults(runs));
}

class Reporter
{
public:
    Reporter(const ReportOptions& options, ReportSetup& setup)
        : m_options(options), m_setup(setup),
          m_session(setup.databasePath, setup.probes, setup.kernels),
          m_chatty(options.verbose || setup.errIsTerminal),
          m_context(options.context && !options.ini && setup.insight.has_value())
    {
        if (options.anonymous)
            m_anonymiser = ThisMachineAnonymiser();
    }

    int run()
    {
        m_started = m_setup.clock ? m_setup.clock() : QDateTime::currentDateTimeUtc();
        m_environment = ReadEnvironment(m_setup.environment);
        for (const QString& warning : EnvironmentWarnings(m_environment))
            warn(warning);
        m_session.loadReferenceMachine();
        const QStringList missing = MissingReferenceKeys(m_session.reference());
        if (!missing.isEmpty()) {
            const QString warning =
                whyNoReference(missing) +
                QStringLiteral(": the processor scores are left out, the pass counts are given");
            // A database named on the command line was meant to be used: a
            // typo must not pass as a run without scores.
            if (m_options.database.isEmpty())
                warn(warning);
            else
                warnAlways(warning);
        }
        if (!m_setup.surface.unavailable.isEmpty() && m_options.tests.contains(TestId::Video))
            warn(QStringLiteral("video test skipped: ") + m_setup.surface.unavailable);
        if (m_options.tests.contains(TestId::Disk) && m_options.drives.isEmpty() &&
            m_session.drives().isEmpty())
            warn(noDriveWarning());

        for (int i = 0; i < m_options.repeat; ++i) {
            if (m_options.repeat > 1)
                note(QStringLiteral("Run %1 of %2").arg(i + 1).arg(m_options.repeat));
            const int status = runOnce();
            if (status != kExitOk)
                return failed(status);
            // In every run, as the disk test: the runs' spread is what
            // --compare weighs a change against.
            if (m_context)
                measureDrives(m_runs.last());
        }
        afterRuns();
        if (m_context) {
            measureContext();
            m_drives = MedianDriveInsights(m_driveRuns);
            for (const QString& warning : DriveInsightWarnings(m_drives))
                warn(warning);
        }
        return output();
    }

private:
    // Why there is no reference machine: the reason the database cannot be
    // read when something is there (a directory, a FIFO, UTF-16 text, no
    // permission, a link loop), else the values it lacks, else its absence.
    QString whyNoReference(const QStringList& missing) const
    {
        const QString path = m_session.database().path();
        const QString& problem = m_session.reference().problem;
        const QString name = QFileInfo(path).fileName();
        if (!problem.isEmpty()) // "base.ini cannot be read: ...", named by its path
            return path +
                   (problem.startsWith(name) ? problem.mid(name.size())
                                             : QStringLiteral(": ") + problem) +
                   QStringLiteral(", so there is no reference machine");
        if (QFileInfo::exists(path))
            return path + QStringLiteral(" has no usable DATA value for ") +
                   missing.join(QStringLiteral(", "));
        if (!m_options.database.isEmpty())
            return path + QStringLiteral(" does not exist, so there is no reference machine");
        return path + QStringLiteral(" does not exist (nor base.ini beside the program), so "
                                     "there is no reference machine");
    }

    // In a container or chroot no filesystem is a drive: say so, and which
    // filesystem "/" is, where "All tests completed" would hide it.
    QString noDriveWarning() const
    {
        const QString& root = m_session.rootFilesystem();
        return QStringLiteral("disk test skipped: no fixed drive is listed") +
               (root.isEmpty() ? QString()
                               : QStringLiteral(": / is on %1, and only local filesystems on "
                                                "disks of their own count as drives (a container "
                                                "or chroot has none)")
                                     .arg(root)) +
               QStringLiteral("; --drive DIRECTORY tests a directory instead");
    }

    int runOnce()
    {
        AllTestsResults results;
        HeadlessView view(m_session, m_setup.surface, [this](const QString& what) { note(what); });
        if (m_context)
            view.setAfterProcessor([this] { m_chains << m_setup.insight->runChain(); });
        const QString badDrive = view.select(m_options.tests, m_options.drives);
        if (!badDrive.isEmpty()) {
            m_error = m_anonymiser.apply(badDrive);
            return kExitBadCommandLine;
        }
        m_session.clearLog();
        try {
            note(QStringLiteral("System overview ..."));
            m_session.loadReferenceMachine();
            m_session.refreshOverview();
            RunAllTests(m_session, view, results);
            keep(results, view);
            return kExitOk;
        } catch (const std::exception& error) {
            m_error = m_anonymiser.apply(QString::fromUtf8(error.what()));
            m_failedLog = AnonymousLog(m_session.log(), m_options.anonymous, m_anonymiser);
            // What the run did not reach was not measured.
            for (int i = 0; i < m_session.drives().size(); ++i) {
                const QByteArray mount = m_session.mountPoint(i);
                if (std::none_of(results.drives.cbegin(), results.drives.cend(),
                                 [&mount](const DriveFigure& d) { return d.mountPoint == mount; }))
                    results.drives.append({m_session.drives()[i], 0, {}, mount});
            }
            keep(results, view);
            for (const TestId id : FigureTests())
                markUnreached({id});
            for (const DriveFigure& drive : results.drives)
                markUnreached({TestId::Disk, drive.mountPoint});
            return kExitTestFailed;
        }
    }

    void keep(const AllTestsResults& results, const HeadlessView& view)
    {
        m_measured = view.measured();
        if (!view.videoMethod().isEmpty())
            m_videoMethod = view.videoMethod();
        m_runs << results;
        if (m_options.anonymous)
            Anonymise(m_runs.last(), m_anonymiser);
    }

    void markUnreached(const FigureKey& key)
    {
        AllTestsResults& last = m_runs.last();
        if (!m_measured.contains(key) && !last.skipped.contains(key))
            last.skipped.insert(key, QStringLiteral("not reached: the run stopped at the error"));
    }

    // Errors always reach stderr; the JSON carries them and what was measured.
    int failed(int status)
    {
        write(m_setup.err, m_error + QLatin1Char('\n'));
        if (m_options.json) // without runs too: every document has the same members
            write(m_setup.out, QString::fromUtf8(ReportJson(document()).toJson()));
        else
            writeLines(m_setup.out, m_failedLog);
        return status;
    }

    void afterRuns()
    {
        m_environment.priority = ReadObtainedPriority(m_setup.environment);
        const QString priority =
            PriorityWarning(m_environment.priority, platform::LastRealTimeLimited());
        if (!priority.isEmpty())
            warn(priority);
        if (m_runs.size() < 2)
            return;
        // One warning a test: the pass counts vary as their scores do.
        for (const NamedFigure& figure : Figures(m_runs.front())) {
            const QList<std::int32_t> values = MeasuredRuns(m_runs, figure);
            const double cv = values.size() < 2 ? 0 : Summarise(values).cv;
            if (cv > kSteadyCv)
                warn(QStringLiteral("%1 varies: coefficient of variation %2 % over %3 runs")
                         .arg(figure.name)
                         .arg(cv, 0, 'f', 1)
                         .arg(values.size()));
        }
    }

    void measureContext()
    {
        const AllTestsResults median = MedianResults(m_runs);
        const LoggedFigures logged{m_session.reference(), median.memory, m_chains};
        note(QStringLiteral("Context: every core, the effective clock, the memory's limits"));
        try {
            m_insight = MeasureInsight(*m_setup.insight, logged);
        } catch (const std::exception& error) {
            // The section says so in its place; the run itself stands.
            m_insight = NotMeasured(QString::fromUtf8(error.what()));
            warn(QStringLiteral("the figures could not be put in context: ") +
                 m_insight->notMeasured);
            return;
        }
        for (const QString& warning : m_insight->warnings)
            warn(warning);
    }

    // The drives this run tested, measured right after it.
    void measureDrives(const AllTestsResults& run)
    {
        QList<QByteArray> tested;
        for (const DriveFigure& drive : run.drives) {
            if (drive.kilobytesPerSecond > 0 &&
                !run.skipped.contains({TestId::Disk, drive.mountPoint}))
                tested << drive.mountPoint;
        }
        if (tested.isEmpty() || !m_setup.insight->driveContext)
            return;
        note(QStringLiteral("Context: the drives' reads, random blocks and synchronous writes"));
        m_driveRuns << MeasureDriveInsights(m_setup.insight->driveContext, tested);
        Anonymise(m_driveRuns.last(), m_anonymiser);
    }

    QJsonObject insightJson() const
    {
        if (!m_insight)
            return {};
        QJsonObject object = InsightJson(*m_insight);
        if (!m_drives.isEmpty())
            object.insert("drives", DriveInsightJson(m_drives));
        return object;
    }

    ReportDocument document() const
    {
        return {kProgramName, ProgramVersion(), m_started,          m_session.reference(),
                m_runs,       m_videoMethod,    m_environment,      m_warnings,
                m_error,      insightJson(),    m_options.anonymous};
    }

    int output()
    {
        const AllTestsResults median = MedianResults(m_runs);
        const QStringList log = MedianLog(m_runs);
        if (m_options.output == QLatin1String("-")) {
            // As saved, on standard output.
            if (m_setup.out != nullptr)
                m_setup.out->write(LogFileBytes(log));
        } else if (!m_options.output.isEmpty()) {
            try {
                SaveLog(m_options.output, log);
            } catch (const SaveError& error) {
                write(m_setup.err, QString::fromUtf8(error.what()) + QLatin1Char('\n'));
                return kExitTestFailed;
            }
        }
        const QByteArray json = ReportJson(document()).toJson();
        if (m_options.json) {
            write(m_setup.out, QString::fromUtf8(json));
        } else if (m_options.ini) {
            // Rows are pasted into base.ini unread: what is left out is said
            // on stderr also without --verbose.
            if (median.videoBackingStore && !median.skipped.contains({TestId::Video}))
                warnAlways(QStringLiteral("no Video row: ") + kNoVideoRow);
            writeLines(m_setup.out, IniRows(median));
        } else {
            if (m_options.output.isEmpty())
                writeLines(m_setup.out, log);
            // After the log, never in it: the log stays as the window writes it.
            if (m_insight)
                writeLines(m_setup.out, InsightText(*m_insight) + DriveInsightText(m_drives));
        }
        return m_options.save ? save(json) : kExitOk;
    }

    int save(const QByteArray& json)
    {
        const QString directory =
            m_setup.resultsDirectory.isEmpty() ? ResultsDirectory() : m_setup.resultsDirectory;
        try {
            const QString path = SaveResult(directory, m_started, json);
            if (m_setup.err != nullptr) // the name's own bytes
                m_setup.err->write("Results saved to " + FileNameBytes(path) + '\n');
            return kExitOk;
        } catch (const SaveError& error) {
            write(m_setup.err, QString::fromUtf8(error.what()) + QLatin1Char('\n'));
            return kExitTestFailed;
        }
    }

    void note(const QString& text) const
    {
        if (m_chatty)
            write(m_setup.err, text + QLatin1Char('\n'));
    }

    void warn(const QString& warning)
    {
        m_warnings << m_anonymiser.apply(warning);
        note(QStringLiteral("Warning: ") + warning);
    }

    void warnAlways(const QString& warning)
    {
        m_warnings << m_anonymiser.apply(warning);
        write(m_setup.err, QStringLiteral("Warning: ") + warning + QLatin1Char('\n'));
    }

    const ReportOptions& m_options;
    ReportSetup& m_setup;
    Session m_session;
    bool m_chatty;
    bool m_context;
    QList<bench::ChainTiming> m_chains;
    std::optional<Insight> m_insight;
    QList<QList<DriveInsight>> m_driveRuns; // each run's drives in context
    QList<DriveInsight> m_drives;           // their medians
    QDateTime m_started;
    RunEnvironment m_environment;
    QStringList m_warnings;
    QList<AllTestsResults> m_runs;
    QList<FigureKey> m_measured;
    QString m_videoMethod;
    QString m_error;
    QStringList m_failedLog;
    Anonymiser m_anonymiser; // inactive without --anonymous
};

} // namespace

int RunReport(const ReportOptions& options, ReportSetup& setup)
{
    // What fails outside the runs (reading the database's scaling, say)
    // ends the same way as a failed test.
    try {
        return Reporter(options, setup).run();
    } catch (const std::exception& error) {
        const QString message = QString::fromUtf8(error.what());
        write(setup.err, message + QLatin1Char('\n'));
        const QString shown = options.anonymous ? ThisMachineAnonymiser().apply(message) : message;
        if (options.json)
            write(setup.out, QString::fromUtf8(ErrorJson(shown, options.anonymous).toJson()));
        return kExitTestFailed;
    }
}

int AnswerCommandLine(const CommandLine& line, QIODevice& out, QIODevice& err)
{
    switch (line.action) {
    case CommandLine::Action::Help:
        write(&out, line.usage);
        return kExitOk;
    case CommandLine::Action::Version:
        write(&out, VersionText() + QLatin1Char('\n'));
        return kExitOk;
    case CommandLine::Action::Error:
        write(&err, line.error + QStringLiteral("\n\n") + line.usage);
        return kExitBadCommandLine;
    case CommandLine::Action::Compare:
        return RunCompare(line.compare, ResultsDirectory(), out, err);
    case CommandLine::Action::Window:
    case CommandLine::Action::Report:
    case CommandLine::Action::AddReference:
        break;
    }
    return kExitBadCommandLine;
}

} // namespace report
