// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace report {

// The tests a run can measure. Cpu and Fpu come from the one processor page.
enum class TestId
{
    Cpu,
    Fpu,
    Memory,
    Video,
    Disk,
};

// The page whose refresh measures a test.
enum class TestPage
{
    Processor,
    Memory,
    Video,
    Drive,
};

struct TestEntry
{
    TestId id;
    QString name;    // on the command line (--tests) and in the JSON's `tests`
    QString jsonKey; // its member of the JSON's results
    QString label;   // what the run announces it by; a drive goes by its entry
    TestPage page;
};

// Every test, in the order the log lists them.
const QList<TestEntry>& Tests();
const TestEntry& Test(TestId id);
QString TestName(TestId id);
// The test --tests calls `name` (exact, lower case); none for another name.
std::optional<TestId> TestNamed(const QString& name);
// The names --tests takes, and every test, in order.
QStringList TestNames();
QList<TestId> TestIds();
// The tests one refresh of `page` measures.
QList<TestId> PageTests(TestPage page);

} // namespace report
