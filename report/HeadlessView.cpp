// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/HeadlessView.h"

#include "platform/DiskDirectory.h"
#include "report/CommandLine.h"
#include "report/FileNames.h"
#include "report/Session.h"

#include <QFile>

#include <utility>

namespace report {

HeadlessView::HeadlessView(const Session& session, ReportSurface surface,
                           std::function<void(const QString&)> progress)
    : m_session(session), m_surface(std::move(surface)), m_progress(std::move(progress)),
      m_tests(kTestNames)
{
}

QString HeadlessView::select(const QStringList& tests, const QStringList& drivePaths)
{
    m_tests = tests;
    m_drives.clear();
    const QStringList& entries = m_session.drives();
    for (const QString& path : drivePaths) {
        qsizetype found = -1;
        for (qsizetype i = 0; i < entries.size() && found < 0; ++i)
            if (platform::SameFilesystem(FileNameBytes(path).toStdString(),
                                         m_session.mountPoint(int(i)).toStdString()))
                found = i;
        if (found < 0)
            return QStringLiteral("--drive %1: not on any of the fixed drives (%2)")
                .arg(path, entries.join(QStringLiteral(", ")));
        m_drives << entries[found];
    }
    return {};
}

// One page runs both processor kernels, whichever of the two is asked for.
bool HeadlessView::asks(const RunTest& test) const
{
    if (m_session.drives().contains(test.name))
        return m_tests.contains(QStringLiteral("disk")) &&
               (m_drives.isEmpty() || m_drives.contains(test.name));
    for (const QString& key : test.keys)
        if (m_tests.contains(key))
            return true;
    return false;
}

void HeadlessView::testBegins(const RunTest& test)
{
    if (m_progress)
        m_progress(test.name + QStringLiteral(" ..."));
}

void HeadlessView::testEnded(const RunTest& test)
{
    for (const QString& key : test.keys)
        if (!m_measured.contains(key))
            m_measured << key;
    if (test.keys.contains(QStringLiteral("cpu")) && m_afterProcessor)
        m_afterProcessor();
    if (test.keys.contains(QStringLiteral("video")) && m_surface.method)
        m_videoMethod = m_surface.method();
}

bench::TestSurface* HeadlessView::testSurface()
{
    return m_surface.surface ? m_surface.surface() : nullptr;
}

} // namespace report
