// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"
#include "platform/Files.h"
#include "platform/Identity.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include "ChildProcess.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

void writeFile(const QTemporaryDir& root, const QString& relative, const QByteArray& text)
{
    QDir(root.path()).mkpath(QFileInfo(relative).path());
    QFile file(root.filePath(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

void IdentityTest::osVersion_data()
{
    QTest::addColumn<QString>("etcFile");
    QTest::addColumn<QString>("usrFile");
    QTest::addColumn<bool>("kernelKnown");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("versionNumber");

    const QString none; // a null text stands for a missing file
    QTest::newRow("double quotes")
        << "NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
        << none << true << true << "Debian GNU/Linux 12 (bookworm)"
        << "6.1.0-18-amd64";
    QTest::newRow("single quotes") << "PRETTY_NAME='Fedora Linux 39'\n"
                                   << none << true << true << "Fedora Linux 39"
                                   << "6.1.0-18-amd64";
    QTest::newRow("unquoted, blanks around") << "  PRETTY_NAME=Alpine  \n"
                                             << none << true << true << "Alpine"
                                             << "6.1.0-18-amd64";
    QTest::newRow("escapes") << "PRETTY_NAME=\"My \\\"Own\\\" \\$OS\"\n"
                             << none << true << true << "My \"Own\" $OS"
                             << "6.1.0-18-amd64";
    QTest::newRow("no PRETTY_NAME") << "NAME=Thing\n"
                                    << none << true << true << "Linux"
                                    << "6.1.0-18-amd64";
    QTest::newRow("only /usr/lib/os-release") << none << "PRETTY_NAME=\"Arch Linux\"\n"
                                              << true << true << "Arch Linux"
                                              << "6.1.0-18-amd64";
    QTest::newRow("/etc wins") << "PRETTY_NAME=A\n"
                               << "PRETTY_NAME=B\n"
                               << true << true << "A"
                               << "6.1.0-18-amd64";
    QTest::newRow("no os-release") << none << none << true << true << "Linux"
                                   << "6.1.0-18-amd64";
    QTest::newRow("os-release without kernel") << "PRETTY_NAME=A\n"
                                               << none << false << true << "A"
                                               << "";
    QTest::newRow("nothing readable") << none << none << false << false << ""
                                      << "";
}

void IdentityTest::osVersion()
{
    QFETCH(QString, etcFile);
    QFETCH(QString, usrFile);
    QFETCH(bool, kernelKnown);
    QFETCH(bool, known);
    QFETCH(QString, version);
    QFETCH(QString, versionNumber);
    QTemporaryDir root;
    if (!etcFile.isNull())
        writeFile(root, QStringLiteral("etc/os-release"), etcFile.toUtf8());
    if (!usrFile.isNull())
        writeFile(root, QStringLiteral("usr/lib/os-release"), usrFile.toUtf8());
    std::optional<platform::KernelIdentity> kernel;
    if (kernelKnown)
        kernel = platform::KernelIdentity{"Linux", "6.1.0-18-amd64"};

    const auto os = platform::ReadOsVersion(root.path().toStdString(), kernel);
    QCOMPARE(os.has_value(), known);
    if (!os)
        return;
    QCOMPARE(QString::fromStdString(os->version), version);
    QCOMPARE(QString::fromStdString(os->versionNumber), versionNumber);
    QVERIFY(os->subVersionNumber.empty());
}

void IdentityTest::computerNameIsTheKernelsHostName()
{
    const std::string kernelName = platform::ReadAttribute("/proc/sys/kernel/hostname");
    QVERIFY(!kernelName.empty());
    QCOMPARE(platform::ComputerName(), kernelName);
}

void IdentityTest::userNameIsTheEffectiveUsersLogin()
{
    QProcess id;
    id.start(QStringLiteral("id"), {QStringLiteral("-un")});
    QVERIFY(id.waitForFinished());
    if (id.exitCode() != 0)
        QSKIP("this user has no entry in the password database");
    QCOMPARE(QString::fromStdString(platform::UserName()),
             QString::fromUtf8(id.readAllStandardOutput()).trimmed());
}

void IdentityTest::computerName_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("one character") << 1;
    QTest::newRow("63 characters") << 63;
    QTest::newRow("64 characters, the longest Linux allows") << 64;
}

// In a child with a UTS namespace of its own, so the machine's name stays.
void IdentityTest::computerName()
{
    QFETCH(int, length);
    const std::string name = std::string(std::size_t(length - 1), 'h') + "z";
    const ChildResult child = RunInChild([&name] {
        if (unshare(CLONE_NEWUTS) != 0 || sethostname(name.data(), name.size()) != 0)
            return kChildCannotSetUp;
        return platform::ComputerName() == name ? 0 : 1;
    });
    QVERIFY(child.finished);
    if (child.exitCode == kChildCannotSetUp)
        QSKIP("no permission for a UTS namespace");
    QCOMPARE(child.exitCode, 0);
}

void IdentityTest::longPasswordEntry_data()
{
    QTest::addColumn<int>("gecosLength");
    QTest::newRow("short entry") << 10;
    QTest::newRow("above the suggested buffer") << 5000;
    QTest::newRow("above 16 KiB") << 100000;
}

// In a child with a mount namespace of its own, a password file holding a
// long entry for the effective user is mounted over /etc/passwd.
void IdentityTest::longPasswordEntry()
{
    QFETCH(int, gecosLength);
    QTemporaryDir dir;
    const QString passwd = dir.filePath(QStringLiteral("passwd"));
    const QByteArray entry = "quorvix-long-entry:x:" + QByteArray::number(geteuid()) + ':' +
                             QByteArray::number(getegid()) + ':' + QByteArray(gecosLength, 'g') +
                             ":/nonexistent:/bin/false\n";
    {
        QFile file(passwd);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(entry);
    }
    const std::string source = passwd.toStdString();
    const ChildResult child = RunInChild([&source] {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount(source.c_str(), "/etc/passwd", nullptr, MS_BIND, nullptr) != 0)
            return kChildCannotSetUp;
        return platform::UserName() == "quorvix-long-entry" ? 0 : 1;
    });
    QVERIFY(child.finished);
    if (child.exitCode == kChildCannotSetUp)
        QSKIP("no permission for a mount namespace");
    QCOMPARE(child.exitCode, 0);
}
