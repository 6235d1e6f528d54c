// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QTest>

// Runs several test classes in one executable, so that each module has a
// single Qt Test binary for CTest. Every class runs even when one fails.
template <typename Test> int runOneTest(int argc, char** argv)
{
    Test test;
    return QTest::qExec(&test, argc, argv);
}

template <typename... Tests> int runTests(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    ((failed += runOneTest<Tests>(argc, argv)), ...);
    return failed;
}

#define QUORVIX_TEST_MAIN(...)                                                                     \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        return runTests<__VA_ARGS__>(argc, argv);                                                  \
    }
