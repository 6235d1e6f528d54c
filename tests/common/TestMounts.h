// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

#include <sys/mount.h>
#include <unistd.h>

// A filesystem mounted for one test and unmounted when it goes. Mounting
// needs root (as in CI); elsewhere the factories give null and the test
// skips what needs them.
class TestMount
{
public:
    // A tmpfs at `directory` with mount options such as "size=1m".
    static std::unique_ptr<TestMount> Tmpfs(const QString& directory, const QByteArray& options)
    {
        const QByteArray target = directory.toLocal8Bit();
        if (geteuid() != 0 || mount("tmpfs", target, "tmpfs", 0, options.constData()) != 0)
            return nullptr;
        return std::unique_ptr<TestMount>(new TestMount(target));
    }

    // A ramfs at `directory`: a filesystem without direct I/O.
    static std::unique_ptr<TestMount> Ramfs(const QString& directory)
    {
        const QByteArray target = directory.toLocal8Bit();
        if (geteuid() != 0 || mount("ramfs", target, "ramfs", 0, nullptr) != 0)
            return nullptr;
        return std::unique_ptr<TestMount>(new TestMount(target));
    }

    // `source` seen read-only at `directory`: same filesystem, no writing.
    static std::unique_ptr<TestMount> ReadOnlyBind(const QString& source, const QString& directory)
    {
        const QByteArray target = directory.toLocal8Bit();
        if (geteuid() != 0 || mount(source.toLocal8Bit(), target, nullptr, MS_BIND, nullptr) != 0)
            return nullptr;
        std::unique_ptr<TestMount> bound(new TestMount(target));
        if (mount(nullptr, target, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return nullptr;
        return bound;
    }

    ~TestMount() { umount2(m_target.constData(), MNT_DETACH); }
    TestMount(const TestMount&) = delete;
    TestMount& operator=(const TestMount&) = delete;

private:
    explicit TestMount(QByteArray target) : m_target(std::move(target)) {}
    QByteArray m_target;
};
