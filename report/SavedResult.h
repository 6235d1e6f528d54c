// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <stdexcept>
#include <utility>

namespace report {

// One figure of a saved result.
struct SavedFigure
{
    QString name;       // "CPU score", "CPU passes", "Memory", "Drive /home", ...
    QString unit;       // "relative" for the scores, which depend on the reference machine
    QList<double> runs; // every run's value; empty in a file that has only the median
    std::optional<double> median; // the file's own median, else the runs'
    bool skipped = false;         // the test did not run (video without a display)
    QString method;               // how it was measured, where that can differ (video); or empty
};

// What a comparison needs of a result file the report saved. Files of older
// versions lack members: what is missing stays empty.
struct SavedResult
{
    QString source; // the file, as it was named
    QString version;
    int schemaVersion = 1;
    QDateTime time;  // UTC; invalid when the file does not say
    QString machine; // the computer name
    QString userName;
    bool anonymous = false; // saved with the private names left out
    // The overview's texts that describe the machine's rows.
    QString overviewProcessor;
    QString overviewMemory;
    QString overviewVideo;
    QString processor; // the brand string, else the overview's processor text
    int runs = 1;
    std::optional<std::array<qint64, 3>> reference; // PIIMultCPU, PIIMultFPU, PIIFreq
    // The conditions that make figures lower ("ran under a hypervisor", ...),
    // each the file records with whether it held.
    QList<std::pair<QString, bool>> conditions;
    QList<SavedFigure> figures; // in the log's order

    const SavedFigure* figure(const QString& name) const;
};

// A result file that cannot be compared; the message names the file and why.
class ResultFileError : public std::runtime_error
{
public:
    // A file name in the message keeps its bytes (FileNameText).
    explicit ResultFileError(const QString& message);
};

// Reads the JSON the report writes. Raises ResultFileError for text that is
// not JSON or holds a figure that is not a finite number ("broken"), JSON of
// anything else ("foreign"), and a newer schema than this program knows.
SavedResult ReadSavedResult(const QByteArray& bytes, const QString& source);

// The same from a regular file, named as FileNameText names it; a file
// without a time takes its modification time. Anything else (missing, a
// directory, a FIFO, a device) raises ResultFileError without being opened
// for long.
SavedResult LoadSavedResult(const QString& fileName);

// The bytes of a regular file of at most 16 MiB and its modification time,
// read as LoadSavedResult reads; raises ResultFileError as it does.
std::pair<QByteArray, qint64> ReadResultFile(const QString& fileName);

} // namespace report
