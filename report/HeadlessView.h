// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/FullRun.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace report {

class Session;

// How the video test filled: through the X server, or into the toolkit's
// backing store, whose figures do not compare with the first.
inline const QString kVideoMethodX11 = QStringLiteral("X server fills");
inline const QString kVideoMethodBackingStore = BackingStoreNote;

// Where a run without a window draws its video test: the surface, made when
// the test first runs, and how it fills.
struct ReportSurface
{
    // Null where the test cannot run; `unavailable` then says why.
    std::function<bench::TestSurface*()> surface;
    QString unavailable;
    std::function<QString()> method; // kVideoMethodX11 or kVideoMethodBackingStore
};

// The run as the report shows it: every test in comparative mode, progress
// lines instead of a busy frame, processor counts without a reference
// machine, and only the tests and drives asked for.
class HeadlessView : public FullRunView
{
public:
    HeadlessView(Session& session, ReportSurface surface,
                 std::function<void(const QString&)> progress = {});

    // Runs only these tests and, when `drivePaths` is not
    // empty, only the drives that hold them. A path on none of the fixed
    // drives is tested as a drive of its own when it is a directory on a
    // local filesystem that the user may write to (a container's overlay, a
    // tmpfs); returns what is wrong with a path that is not; empty when all
    // are found.
    QString select(const QList<TestId>& tests, const QStringList& drivePaths);
    // Called when the processor test has ended.
    void setAfterProcessor(std::function<void()> after) { m_afterProcessor = std::move(after); }

    // The keys of the tests that ran to their end, and how the video test
    // filled (empty before it ran).
    const QList<FigureKey>& measured() const { return m_measured; }
    const QString& videoMethod() const { return m_videoMethod; }

    bool asks(const RunTest& test) const override;
    void testBegins(const RunTest& test) override;
    void testEnded(const RunTest& test) override;
    bool countsWithoutReference() const override { return true; }
    bench::TestSurface* testSurface() override;
    QString noSurfaceReason() const override { return m_surface.unavailable; }

private:
    QString selectDirectory(const QString& path);

    Session& m_session;
    ReportSurface m_surface;
    std::function<void(const QString&)> m_progress;
    std::function<void()> m_afterProcessor;
    QList<TestId> m_tests;
    QList<QByteArray> m_drives; // mount points; all when empty
    QList<FigureKey> m_measured;
    QString m_videoMethod;
};

} // namespace report
