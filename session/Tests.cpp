// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Tests.h"

namespace report {

const QList<TestEntry>& Tests()
{
    static const QList<TestEntry> tests{
        {TestId::Cpu, QStringLiteral("cpu"), QStringLiteral("cpu"), QStringLiteral("Processor"),
         TestPage::Processor},
        {TestId::Fpu, QStringLiteral("fpu"), QStringLiteral("fpu"), QStringLiteral("Processor"),
         TestPage::Processor},
        {TestId::Memory, QStringLiteral("memory"), QStringLiteral("memory"),
         QStringLiteral("Memory"), TestPage::Memory},
        {TestId::Video, QStringLiteral("video"), QStringLiteral("video"), QStringLiteral("Video"),
         TestPage::Video},
        {TestId::Disk, QStringLiteral("disk"), QStringLiteral("drives"), QString(),
         TestPage::Drive},
    };
    return tests;
}

const TestEntry& Test(TestId id)
{
    return Tests()[static_cast<qsizetype>(id)];
}

QString TestName(TestId id)
{
    return Test(id).name;
}

std::optional<TestId> TestNamed(const QString& name)
{
    for (const TestEntry& test : Tests())
        if (test.name == name)
            return test.id;
    return std::nullopt;
}

QStringList TestNames()
{
    QStringList names;
    for (const TestEntry& test : Tests())
        names << test.name;
    return names;
}

QList<TestId> TestIds()
{
    QList<TestId> ids;
    for (const TestEntry& test : Tests())
        ids << test.id;
    return ids;
}

QList<TestId> PageTests(TestPage page)
{
    QList<TestId> ids;
    for (const TestEntry& test : Tests())
        if (test.page == page)
            ids << test.id;
    return ids;
}

} // namespace report
