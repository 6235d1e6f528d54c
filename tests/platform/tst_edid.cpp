// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeTests.h"
#include "platform/Edid.h"

#include <QTest>

namespace {

// An EDID base block of the given maker and product; name, when given, goes
// into the third descriptor as the monitor-name text.
QByteArray edid(const char* maker, quint16 product, const QByteArray& name = {},
                bool fixChecksum = true)
{
    QByteArray block(128, '\0');
    const char header[] = {0, '\xFF', '\xFF', '\xFF', '\xFF', '\xFF', '\xFF', 0};
    block.replace(0, 8, QByteArray(header, 8));
    unsigned packed = 0;
    for (int i = 0; i < 3; ++i)
        packed = packed << 5 | unsigned(maker[i] - 'A' + 1);
    block[8] = char(packed >> 8);
    block[9] = char(packed & 0xFF);
    block[10] = char(product & 0xFF);
    block[11] = char(product >> 8);
    block[54] = 0x02; // a detailed timing first
    block[55] = 0x3A;
    if (!name.isNull()) {
        block[90 + 3] = char(0xFC);
        QByteArray text = name.left(13);
        block.replace(95, text.size(), text);
        for (int i = 95 + int(text.size()); i < 108; ++i)
            block[i] = i == 95 + text.size() ? '\n' : ' ';
    }
    if (fixChecksum) {
        unsigned sum = 0;
        for (int i = 0; i < 127; ++i)
            sum += quint8(block[i]);
        block[127] = char((256 - sum % 256) % 256);
    }
    return block;
}

} // namespace

void EdidTest::monitorName_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name"); // null: no name

    QTest::newRow("name descriptor") << edid("DEL", 0xA0B5, "DELL U2412M") << "DELL U2412M";
    QTest::newRow("thirteen characters, no line feed")
        << edid("SAM", 1, "SyncMaster 24") << "SyncMaster 24";
    QTest::newRow("blanks trimmed") << edid("SAM", 1, "  LCD  ") << "LCD";
    QTest::newRow("no name: maker and product") << edid("DEL", 0xA0B4) << "DELA0B4";
    QTest::newRow("blank name: maker and product") << edid("GSM", 0x5B7F, "   ") << "GSM5B7F";
    QTest::newRow("with extension blocks")
        << edid("PHL", 0x0932, "PHL 243V7") + QByteArray(128, 'x') << "PHL 243V7";
    QTest::newRow("short") << edid("DEL", 0xA0B5, "DELL U2412M").left(127) << QString();
    QTest::newRow("empty") << QByteArray() << QString();
    QByteArray badHeader = edid("DEL", 1, "X");
    badHeader[1] = 0;
    badHeader[127] = char(quint8(badHeader[127]) + 0xFF); // keep the sum right
    QTest::newRow("bad header") << badHeader << QString();
    QByteArray badSum = edid("DEL", 1, "X");
    badSum[100] = char(badSum[100] ^ 0x20);
    QTest::newRow("bad checksum") << badSum << QString();
    QByteArray noMaker = edid("DEL", 1);
    noMaker[8] = 0;
    noMaker[9] = 0;
    noMaker[127] = char(quint8(noMaker[127]) + 0x10 + 0xAC); // DEL was 0x10AC
    QTest::newRow("maker code zero") << noMaker << QString();
}

void EdidTest::monitorName()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    const auto found =
        platform::MonitorNameFromEdid(std::string_view(bytes.constData(), bytes.size()));
    QCOMPARE(found.has_value(), !name.isNull());
    if (found)
        QCOMPARE(QString::fromStdString(*found), name);
}
