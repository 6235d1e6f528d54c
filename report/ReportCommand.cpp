#include "report/ReportCommand.h"

#include "bench/Scaling.h"
#include "database/ComparisonDatabase.h"
#include "report/CompareCommand.h"
#include "report/IniRows.h"
#include "report/JsonReport.h"
#include "report/ResultStore.h"
#include "report/SaveLog.h"
#include "report/Statistics.h"

#include <QIODevice>

#include <exception>

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

class Reporter
{
public:
    Reporter(const ReportOptions& options, ReportSetup& setup)
        : m_options(options), m_setup(setup), m_pages(setup.pages), m_database(setup.databasePath),
          m_chatty(options.verbose || setup.errIsTerminal),
          m_context(options.context && !options.ini && setup.insight.has_value())
    {
        if (m_context)
            timeChainAfterProcessor();
    }

    int run()
    {
        m_started = m_setup.clock ? m_setup.clock() : QDateTime::currentDateTimeUtc();
        m_environment = ReadEnvironment(m_setup.environment);
        for (const QString& warning : EnvironmentWarnings(m_environment))
            warn(warning);
        const bench::ReferenceMachine reference = bench::LoadScaling(m_database);
        const QStringList missing = MissingReferenceKeys(reference);
        if (!missing.isEmpty())
            warn(QStringLiteral("%1 has no usable DATA value for %2: the processor scores "
                                "cannot be formed")
                     .arg(m_database.path(), missing.join(QStringLiteral(", "))));
        if (!m_setup.pages.videoSkipped.isEmpty())
            warn(QStringLiteral("video test skipped: ") + m_setup.pages.videoSkipped);

        for (int i = 0; i < m_options.repeat; ++i) {
            if (m_options.repeat > 1)
                note(QStringLiteral("Run %1 of %2").arg(i + 1).arg(m_options.repeat));
            if (!runOnce())
                return kExitTestFailed;
        }
        afterRuns();
        if (m_context)
            measureContext(reference);
        return output(reference);
    }

private:
    bool runOnce()
    {
        MemoryLog log;
        log.lines.clear();
        try {
            HeadlessSteps steps(m_database, m_pages, [this](const QString& what) { note(what); });
            steps.refreshOverview();
            m_runs << RunAllTests(steps, log);
            return true;
        } catch (const std::exception& error) {
            writeLines(m_setup.out, log.lines);
            write(m_setup.err, QString::fromUtf8(error.what()) + QLatin1Char('\n'));
            return false;
        }
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
        for (const NamedFigure& figure : Figures(m_runs.front())) {
            const double cv = Summarise(FigureRuns(m_runs, figure.pick)).cv;
            if (cv > kSteadyCv)
                warn(QStringLiteral("%1 varies: coefficient of variation %2 % over %3 runs")
                         .arg(figure.name)
                         .arg(cv, 0, 'f', 1)
                         .arg(m_runs.size()));
        }
    }

    // The clock the cores run at, measured where the processor test left them.
    void timeChainAfterProcessor()
    {
        const auto page = m_pages.processorPage;
        m_pages.processorPage = [this, page](Chart& chart, const ComparisonDatabase& database,
                                             bench::BenchState& state) {
            page(chart, database, state);
            m_chains << m_setup.insight->runChain();
        };
    }

    void measureContext(const bench::ReferenceMachine& reference)
    {
        const AllTestsResults median = MedianResults(m_runs);
        const LoggedFigures logged{reference, median.processor.cpuPasses,
                                   median.processor.fpuPasses, median.memory, m_chains};
        note(QStringLiteral("Context: every core, the effective clock, the memory's limits"));
        try {
            m_insight = MeasureInsight(*m_setup.insight, logged);
        } catch (const std::exception& error) {
            warn(QStringLiteral("the figures could not be put in context: ") +
                 QString::fromUtf8(error.what()));
            return;
        }
        for (const QString& warning : m_insight->warnings)
            warn(warning);
    }

    int output(const bench::ReferenceMachine& reference)
    {
        const AllTestsResults median = MedianResults(m_runs);
        const QStringList log = ComposeLog(median);
        if (!m_options.output.isEmpty()) {
            try {
                SaveLog(m_options.output, log);
            } catch (const SaveError& error) {
                write(m_setup.err, QString::fromUtf8(error.what()) + QLatin1Char('\n'));
                return kExitTestFailed;
            }
        }
        const ReportDocument document{kProgramName,
                                      ProgramVersion(),
                                      reference,
                                      m_runs,
                                      m_setup.pages.videoSkipped,
                                      m_environment,
                                      m_warnings,
                                      m_started,
                                      m_insight ? InsightJson(*m_insight) : QJsonObject()};
        const QByteArray json = ReportJson(document).toJson();
        if (m_options.json) {
            write(m_setup.out, QString::fromUtf8(json));
        } else if (m_options.ini) {
            writeLines(m_setup.out, IniRows(median, m_setup.pages.videoSkipped));
        } else {
            if (m_options.output.isEmpty())
                writeLines(m_setup.out, log);
            // After the log, never in it: the log stays as the window writes it.
            if (m_insight)
                writeLines(m_setup.out, InsightText(*m_insight));
        }
        return m_options.save ? save(json) : kExitOk;
    }

    int save(const QByteArray& json)
    {
        const QString directory =
            m_setup.resultsDirectory.isEmpty() ? ResultsDirectory() : m_setup.resultsDirectory;
        try {
            write(m_setup.err, QStringLiteral("Results saved to %1\n")
                                   .arg(SaveResult(directory, m_started, json)));
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
        m_warnings << warning;
        note(QStringLiteral("Warning: ") + warning);
    }

    const ReportOptions& m_options;
    ReportSetup& m_setup;
    ReportPages m_pages;
    ComparisonDatabase m_database;
    bool m_chatty;
    QDateTime m_started;
    bool m_context;
    QList<bench::ChainTiming> m_chains;
    std::optional<Insight> m_insight;
    RunEnvironment m_environment;
    QStringList m_warnings;
    QList<AllTestsResults> m_runs;
};

} // namespace

int RunReport(const ReportOptions& options, ReportSetup& setup)
{
    // What fails outside the runs (reading the database's scaling, say)
    // ends the same way as a failed test.
    try {
        return Reporter(options, setup).run();
    } catch (const std::exception& error) {
        write(setup.err, QString::fromUtf8(error.what()) + QLatin1Char('\n'));
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
        break;
    }
    return kExitBadCommandLine;
}

} // namespace report
