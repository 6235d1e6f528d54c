// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/HeadlessView.h"

#include "platform/DiskDirectory.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "session/FileNames.h"
#include "session/Session.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace report {

HeadlessView::HeadlessView(Session& session, ReportSurface surface,
                           std::function<void(const QString&)> progress)
    : m_session(session), m_surface(std::move(surface)), m_progress(std::move(progress)),
      m_tests(TestIds())
{
}

QString HeadlessView::select(const QList<TestId>& tests, const QStringList& drivePaths)
{
    m_tests = tests;
    m_drives.clear();
    for (const QString& path : drivePaths) {
        const QStringList& entries = m_session.drives();
        qsizetype found = -1;
        for (qsizetype i = 0; i < entries.size() && found < 0; ++i)
            if (platform::SameFilesystem(FileNameBytes(path).toStdString(),
                                         m_session.mountPoint(int(i)).toStdString()))
                found = i;
        if (found >= 0) {
            m_drives << m_session.mountPoint(int(found));
            continue;
        }
        if (const QString wrong = selectDirectory(path); !wrong.isEmpty())
            return QStringLiteral("--drive %1: not on any of the fixed drives (%2), and %3")
                .arg(path,
                     entries.isEmpty() ? QStringLiteral("none is listed")
                                       : entries.join(QStringLiteral(", ")),
                     wrong);
    }
    return {};
}

// A directory on none of the fixed drives becomes a drive of its own; else
// why not.
QString HeadlessView::selectDirectory(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return info.exists() ? QStringLiteral("not a directory") : QStringLiteral("not there");
    const QByteArray directory = QFile::encodeName(info.canonicalFilePath());
    const auto mount = platform::MountHolding(platform::SystemRoot(), directory.toStdString());
    const QString type = mount ? QString::fromStdString(mount->fsType) : QString();
    if (mount && platform::IsKernelFilesystem(mount->fsType))
        return QStringLiteral("on %1, which holds no files of its own").arg(type);
    if (mount && platform::IsNetworkFilesystem(mount->fsType))
        return QStringLiteral("on %1, a network filesystem").arg(type);
    // The directory itself: no other place of the same filesystem stands in.
    if (!platform::DiskTestDirectory(directory.toStdString(), {}))
        return QStringLiteral("this user may not write in it");
    m_drives << m_session.mountPoint(m_session.addDirectory(directory, type));
    return {};
}

// One page runs both processor kernels, whichever of the two is asked for.
bool HeadlessView::asks(const RunTest& test) const
{
    if (test.page == TestPage::Drive)
        return m_tests.contains(TestId::Disk) &&
               (m_drives.isEmpty() || m_drives.contains(test.keys.value(0).mountPoint));
    for (const TestId id : PageTests(test.page))
        if (m_tests.contains(id))
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
    for (const FigureKey& key : test.keys)
        if (!m_measured.contains(key))
            m_measured << key;
    if (test.page == TestPage::Processor && m_afterProcessor)
        m_afterProcessor();
    if (test.page == TestPage::Video && m_surface.method)
        m_videoMethod = m_surface.method();
}

bench::TestSurface* HeadlessView::testSurface()
{
    return m_surface.surface ? m_surface.surface() : nullptr;
}

} // namespace report
