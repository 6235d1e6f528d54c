// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"
#include "TestMounts.h"
#include "platform/DiskDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A drive tree: "fs" and its sub-directories writable, "ro" a read-only view
// on the same filesystem, "other" a writable directory on another filesystem,
// "file" a plain file.
struct DriveTree
{
    QTemporaryDir dir;
    std::unique_ptr<TestMount> readOnly;
    std::unique_ptr<TestMount> other;

    bool build()
    {
        QDir root(dir.path());
        if (!root.mkpath("fs/a") || !root.mkpath("fs/b") || !root.mkpath("fs/view") ||
            !root.mkpath("ro"))
            return false;
        QFile file(dir.filePath("file"));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        // Without root there is no other filesystem to mount: "other" is missing.
        if (geteuid() != 0)
            return QFile::setPermissions(dir.filePath("ro"),
                                         QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (!root.mkpath("other"))
            return false;
        readOnly = TestMount::ReadOnlyBind(dir.filePath("fs/view"), dir.filePath("ro"));
        other = TestMount::Tmpfs(dir.filePath("other"), "size=1m");
        return readOnly && other;
    }

    std::string path(const QString& name) const
    {
        return name.isEmpty() ? std::string() : dir.filePath(name).toStdString();
    }
};

} // namespace

void DiskDirectoryTest::testDirectory_data()
{
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QStringList>("candidates");
    QTest::addColumn<QString>("directory"); // empty: none

    QTest::newRow("writable mount point") << "fs" << QStringList{"fs/a"} << "fs/";
    QTest::newRow("mount point with a separator") << "fs/" << QStringList{} << "fs/";
    QTest::newRow("first writable candidate on the same filesystem")
        << "ro" << QStringList{"other", "missing", "", "file", "fs/a", "fs/b"} << "fs/a/";
    QTest::newRow("read-only candidate passed over")
        << "ro" << QStringList{"ro", "fs/b"} << "fs/b/";
    QTest::newRow("only another filesystem") << "ro" << QStringList{"other"} << "";
    QTest::newRow("no candidates") << "ro" << QStringList{} << "";
    QTest::newRow("missing mount point") << "missing" << QStringList{"fs"} << "";
    QTest::newRow("mount point that is a file") << "file" << QStringList{"fs"} << "";
}

void DiskDirectoryTest::testDirectory()
{
    QFETCH(QString, mountPoint);
    QFETCH(QStringList, candidates);
    QFETCH(QString, directory);
    DriveTree tree;
    if (!tree.build())
        QSKIP("root cannot mount here, and permission bits do not stop it");
    std::vector<std::string> paths;
    for (const QString& candidate : candidates)
        paths.push_back(tree.path(candidate));

    const auto found = platform::DiskTestDirectory(tree.path(mountPoint), paths);

    QCOMPARE(QString::fromStdString(found.value_or("")),
             directory.isEmpty() ? QString() : tree.dir.filePath(directory));
}
