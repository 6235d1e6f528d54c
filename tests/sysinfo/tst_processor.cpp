// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeProcessor.h"
#include "SysInfoTests.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

void ProcessorNameTest::identity_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<quint32>("signature");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<bool>("asksCpuid");

    QTest::newRow("386") << 386 << Signature(6, 7) << 3 << 0 << QString(12, QChar(0)) << false;
    QTest::newRow("486") << 486 << Signature(6, 7) << 4 << 0 << QString(12, QChar(0)) << false;
    QTest::newRow("Pentium III") << 586 << Signature(6, 7) << 6 << 7 << "GenuineIntel" << true;
    QTest::newRow("extended fields not in Family/Model")
        << 586 << Signature(15, 1, 8, 0) << 15 << 1 << "GenuineIntel" << true;
    QTest::newRow("unknown type") << 8664 << Signature(6, 7) << 0 << 0 << QString(12, QChar(0))
                                  << false;
}

void ProcessorNameTest::identity()
{
    QFETCH(int, type);
    QFETCH(quint32, signature);
    QFETCH(int, family);
    QFETCH(int, model);
    QFETCH(QString, vendor);
    QFETCH(bool, asksCpuid);
    FakeProcessor cpu{type, "GenuineIntel", signature, {}};
    sysinfo::ProcessorSource source = cpu.Source();
    int cpuidCalls = 0;
    source.cpuid = [inner = source.cpuid, &cpuidCalls](std::uint32_t leaf) {
        ++cpuidCalls;
        return inner(leaf);
    };
    const sysinfo::TProcessorInfo info = sysinfo::GetProcessorInfo(source);
    QCOMPARE(info.Family, family);
    QCOMPARE(info.Model, model);
    QCOMPARE(QString::fromLatin1(info.Vendor.data(), 12), vendor);
    QCOMPARE(cpuidCalls > 0, asksCpuid);
}

void ProcessorNameTest::classicName_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("name");

    const auto fallback = [](const char* vendor, int family, int model) {
        return QStringLiteral("%1 family %2 model %3").arg(vendor).arg(family).arg(model);
    };
    QTest::newRow("first model of a row") << 586 << "GenuineIntel" << 5 << 0 << "Intel Pentium";
    QTest::newRow("last model of a row") << 586 << "GenuineIntel" << 5 << 7 << "Intel Pentium";
    QTest::newRow("model between those of a row")
        << 586 << "GenuineIntel" << 5 << 3 << fallback("GenuineIntel", 5, 3);
    QTest::newRow("name without the vendor") << 586 << "GenuineIntel" << 6 << 1 << "Pentium Pro";
    QTest::newRow("last Intel model") << 586 << "GenuineIntel" << 6 << 8 << "Intel Celeron(SSE)";
    QTest::newRow("after the last Intel model")
        << 586 << "GenuineIntel" << 6 << 9 << fallback("GenuineIntel", 6, 9);
    QTest::newRow("last AMD model") << 586 << "AuthenticAMD" << 6 << 3 << "AMD Duron";
    QTest::newRow("AMD gap between K5 and K6")
        << 586 << "AuthenticAMD" << 5 << 4 << fallback("AuthenticAMD", 5, 4);
    QTest::newRow("AMD model with Intel's vendor")
        << 586 << "GenuineIntel" << 5 << 9 << fallback("GenuineIntel", 5, 9);
    QTest::newRow("vendor compared case-sensitively")
        << 586 << "genuineintel" << 6 << 7 << fallback("genuineintel", 6, 7);
    QTest::newRow("other vendor") << 586 << "CyrixInstead" << 5 << 4
                                  << fallback("CyrixInstead", 5, 4);
    QTest::newRow("highest family named from the table")
        << 586 << "GenuineIntel" << 9 << 15 << fallback("GenuineIntel", 9, 15);
    for (int family : {0, 2, 10, 14})
        QTest::newRow(qPrintable(QStringLiteral("family %1").arg(family)))
            << 586 << "GenuineIntel" << family << 7 << QString();
    QTest::newRow("386 whatever the vendor") << 386 << "AuthenticAMD" << 0 << 0 << "Intel 386";
    QTest::newRow("486 whatever the vendor") << 486 << "CyrixInstead" << 0 << 0 << "Intel 486";
    QTest::newRow("unknown type") << 8664 << "GenuineIntel" << 6 << 7 << QString();
}

void ProcessorNameTest::classicName()
{
    QFETCH(int, type);
    QFETCH(QString, vendor);
    QFETCH(int, family);
    QFETCH(int, model);
    QFETCH(QString, name);
    // A brand string is present but must not be used for these processors.
    const FakeProcessor cpu{type, vendor.toStdString(), Signature(family, model), "Brand CPU"};
    QCOMPARE(sysinfo::GetProcessorName(cpu.Source()), name);
}

void ProcessorNameTest::modernName_data()
{
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<quint32>("signature");
    QTest::addColumn<QString>("brand");
    QTest::addColumn<QString>("name");

    QTest::newRow("Intel extended model, brand padded with blanks")
        << "GenuineIntel" << Signature(6, 14, 0, 9)
        << "      Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz  "
        << "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz";
    QTest::newRow("AMD extended family")
        << "AuthenticAMD" << Signature(15, 1, 8, 3) << "AMD Ryzen 7 3700X 8-Core Processor"
        << "AMD Ryzen 7 3700X 8-Core Processor";
    QTest::newRow("family 15 without extended fields")
        << "GenuineIntel" << Signature(15, 2) << "Intel(R) Pentium(R) 4 CPU 2.40GHz"
        << "Intel(R) Pentium(R) 4 CPU 2.40GHz";
    QTest::newRow("brand holding a percent sign")
        << "GenuineIntel" << Signature(6, 5, 0, 5) << "Test %s %1 CPU"
        << "Test %s %1 CPU";
    QTest::newRow("no brand: full family and model, AMD")
        << "AuthenticAMD" << Signature(15, 1, 8, 3) << ""
        << "AuthenticAMD family 23 model 49";
    QTest::newRow("no brand: full model, Intel family 6")
        << "GenuineIntel" << Signature(6, 14, 0, 9) << ""
        << "GenuineIntel family 6 model 158";
    QTest::newRow("no brand: family 15") << "GenuineIntel" << Signature(15, 2) << ""
                                         << "GenuineIntel family 15 model 2";
    QTest::newRow("no brand: extended model ignored below family 6")
        << "CyrixInstead" << Signature(5, 4, 0, 1) << ""
        << "CyrixInstead family 5 model 4";
}

void ProcessorNameTest::modernName()
{
    QFETCH(QString, vendor);
    QFETCH(quint32, signature);
    QFETCH(QString, brand);
    QFETCH(QString, name);
    const FakeProcessor cpu{586, vendor.toStdString(), signature, brand.toStdString()};
    QCOMPARE(sysinfo::GetProcessorName(cpu.Source()), name);
}

void ProcessorNameTest::thisMachineIsNamedByItsBrandString()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    QVERIFY(cpuinfo.open(QIODevice::ReadOnly | QIODevice::Text));
    const auto match = QRegularExpression(QStringLiteral("^model name\\s*:\\s*(.*)$"),
                                          QRegularExpression::MultilineOption)
                           .match(QString::fromUtf8(cpuinfo.readAll()));
    QVERIFY(match.hasMatch());
    const auto info = sysinfo::GetProcessorInfo();
    const bool modern = ((info.Signature >> 16) & 0xFFF) != 0 || info.Family == 15;
    if (!modern)
        QSKIP("this processor is named by the classic table");
    // The kernel reads the same brand string and trims it the same way.
    QCOMPARE(sysinfo::GetProcessorName(), match.captured(1).trimmed());
}
