// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/SavedResult.h"

#include "platform/Files.h"
#include "report/Environment.h"
#include "report/FileNames.h"
#include "report/JsonReport.h"
#include "report/Tests.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace report {
namespace {

class Reader
{
public:
    explicit Reader(const QString& source) : m_source(source) {}

    [[noreturn]] void broken(const QString& why) const
    {
        throw ResultFileError(QStringLiteral("%1: broken result file (%2)").arg(m_source, why));
    }

    double number(const QJsonValue& value, const QString& member) const
    {
        if (!value.isDouble())
            broken(QStringLiteral("%1 is not a number").arg(member));
        if (!std::isfinite(value.toDouble()))
            broken(QStringLiteral("%1 is not a finite number").arg(member));
        return value.toDouble();
    }

    // A figure object, or nothing when the file has none by that name.
    void figure(const QJsonValue& value, const QString& member, const QString& name,
                QList<SavedFigure>& figures) const
    {
        if (value.isUndefined() || value.isNull())
            return;
        if (!value.isObject())
            broken(QStringLiteral("%1 is not an object").arg(member));
        const QJsonObject object = value.toObject();
        SavedFigure figure{name, object.value("unit").toString(), {}, {}, false, {}};
        // A figure that was not measured (a score without a reference
        // machine) holds nulls.
        const QJsonValue runs = object.value("runs");
        if (!runs.isUndefined() && !runs.isNull() && !runs.isArray())
            broken(QStringLiteral("%1.runs is not a list").arg(member));
        for (const QJsonValue& run : runs.toArray())
            figure.runs << number(run, member + QStringLiteral(".runs"));
        if (object.contains("median") && !object.value("median").isNull())
            figure.median = number(object.value("median"), member + QStringLiteral(".median"));
        else if (!figure.runs.isEmpty())
            figure.median = median(figure.runs);
        figure.skipped = !object.value("skipped").toString().isEmpty();
        figure.method = object.value("method").toString();
        if (figure.median)
            figures << figure;
    }

    void figures(const QJsonObject& results, SavedResult& result) const
    {
        for (const NamedFigure& named : TestFigures()) {
            const QString key = Test(named.key.test).jsonKey;
            QString member = QStringLiteral("results.") + key;
            QJsonValue value = results.value(key);
            if (named.isPassCount()) {
                member += QStringLiteral(".passes");
                value = value.toObject().value("passes");
            }
            figure(value, member, named.name, result.figures);
        }
        const QJsonArray drives = results.value(Test(TestId::Disk).jsonKey).toArray();
        for (qsizetype i = 0; i < drives.size(); ++i) {
            const QString name = drives[i].toObject().value("drive").toString();
            if (!name.isEmpty())
                figure(drives[i], QStringLiteral("results.drives[%1]").arg(i), name,
                       result.figures);
        }
    }

    static double median(QList<double> values)
    {
        std::sort(values.begin(), values.end());
        const qsizetype n = values.size();
        // Halved first: the sum of two large figures would overflow.
        return n % 2 != 0 ? values[n / 2] : values[n / 2 - 1] / 2 + values[n / 2] / 2;
    }

private:
    QString m_source;
};

QList<std::pair<QString, bool>> conditions(const QJsonObject& environment)
{
    QList<std::pair<QString, bool>> held;
    const auto record = [&](const char* member, const QString& condition, auto&& holds) {
        const QJsonValue value = environment.value(QLatin1String(member));
        if (!value.isUndefined())
            held.append({condition, holds(value)});
    };
    record("hypervisor", QStringLiteral("ran under a hypervisor"),
           [](const QJsonValue& v) { return v.toBool(); });
    record("governor", QStringLiteral("ran with a frequency governor other than \"performance\""),
           [](const QJsonValue& v) { return v.isString() && v.toString() != "performance"; });
    record("loadAverage",
           QStringLiteral("started at a load average above %1").arg(kQuietLoadAverage),
           [](const QJsonValue& v) { return v.toDouble() > kQuietLoadAverage; });
    record("priority", QStringLiteral("measured at normal priority"), [](const QJsonValue& v) {
        return v.toString() == PriorityName(platform::ObtainedPriority::Neither);
    });
    record("publishedTick",
           QStringLiteral("timed the processor with the clock, not the published tick"),
           [](const QJsonValue& v) { return !v.toBool(true); });
    return held;
}

std::optional<std::array<qint64, 3>> reference(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    if (!object.value("PIIMultCPU").isDouble())
        return std::nullopt;
    return std::array<qint64, 3>{object.value("PIIMultCPU").toInteger(),
                                 object.value("PIIMultFPU").toInteger(),
                                 object.value("PIIFreq").toInteger()};
}

} // namespace

ResultFileError::ResultFileError(const QString& message)
    : std::runtime_error(FileNameBytes(message).toStdString())
{
}

const SavedFigure* SavedResult::figure(const QString& name) const
{
    for (const SavedFigure& figure : figures)
        if (figure.name == name)
            return &figure;
    return nullptr;
}

SavedResult ReadSavedResult(const QByteArray& bytes, const QString& source)
{
    const Reader reader(source);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        reader.broken(
            QStringLiteral("not JSON: %1 at byte %2").arg(error.errorString()).arg(error.offset));
    const QJsonObject root = document.object();
    if (root.value("program").toString() != kProgramName || !root.value("results").isObject())
        throw ResultFileError(
            QStringLiteral("%1: foreign file, not a result the report saved").arg(source));

    SavedResult result;
    result.source = source;
    result.schemaVersion = root.value("schemaVersion").toInt(1);
    if (result.schemaVersion > kResultSchemaVersion)
        throw ResultFileError(QStringLiteral("%1: written by a newer version (schema %2; this one "
                                             "reads up to %3)")
                                  .arg(source)
                                  .arg(result.schemaVersion)
                                  .arg(kResultSchemaVersion));
    result.version = root.value("version").toString();
    result.time = QDateTime::fromString(root.value("time").toString(), Qt::ISODate).toUTC();
    const QJsonObject overview = root.value("overview").toObject();
    result.machine = overview.value("computerName").toString();
    result.userName = overview.value("userName").toString();
    result.anonymous = root.value("anonymous").toBool(false);
    result.overviewProcessor = overview.value("processor").toString();
    result.overviewMemory = overview.value("memory").toString();
    result.overviewVideo = overview.value("video").toString();
    const QJsonObject environment = root.value("environment").toObject();
    result.conditions = conditions(environment);
    result.processor = environment.value("processor").toString();
    result.runs = root.value("runs").toInt(1);
    result.reference = reference(root.value("reference"));
    reader.figures(root.value("results").toObject(), result);
    return result;
}

std::pair<QByteArray, qint64> ReadResultFile(const QString& fileName)
{
    // A result is a few kilobytes; a runaway file is not read whole. Only a
    // regular file is opened, and without blocking: a FIFO would hang.
    constexpr std::uint64_t kLargest = 16 * 1024 * 1024;
    const platform::FileContents contents =
        platform::ReadRegularFile(FileNameBytes(fileName).toStdString(), kLargest);
    switch (contents.outcome) {
    case platform::ReadOutcome::Read:
        break;
    case platform::ReadOutcome::Unreadable:
        throw ResultFileError(QStringLiteral("%1: cannot be read (%2)")
                                  .arg(fileName, qt_error_string(contents.error)));
    case platform::ReadOutcome::NotRegular:
        throw ResultFileError(QStringLiteral("%1: not a regular file").arg(fileName));
    case platform::ReadOutcome::TooLarge:
        throw ResultFileError(
            QStringLiteral("%1: broken result file (larger than 16 MiB)").arg(fileName));
    }
    return {QByteArray::fromStdString(contents.bytes), contents.modified};
}

SavedResult LoadSavedResult(const QString& fileName)
{
    const auto [bytes, modified] = ReadResultFile(fileName);
    SavedResult result = ReadSavedResult(bytes, fileName);
    if (!result.time.isValid())
        result.time = QDateTime::fromSecsSinceEpoch(modified, Qt::UTC);
    return result;
}

} // namespace report
