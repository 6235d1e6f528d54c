// SPDX-License-Identifier: GPL-3.0-or-later
#include "tst_fields.h"

#include "DatabaseFiles.h"

#include "database/ComparisonDatabase.h"

#include <QTest>

void TestFields::extractField_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("field");

    QTest::newRow("second of two") << "300,250" << 1 << "250";
    QTest::newRow("first of two") << "300,250" << 0 << "300";
    QTest::newRow("single with blanks") << " 300 " << 0 << "300";
    QTest::newRow("blanks around second") << "300 , 250 " << 1 << "250";
    QTest::newRow("leading separators") << ",,5" << 0 << "5";
    QTest::newRow("run of mixed separators") << "1 ;, ;2" << 1 << "2";
    QTest::newRow("semicolon") << "7;8" << 1 << "8";
    QTest::newRow("fewer fields, ends in field") << "300" << 1 << "300";
    QTest::newRow("far beyond, ends in field") << "1,2" << 9 << "2";
    QTest::newRow("fewer fields, ends in separator") << "300," << 1 << "";
    QTest::newRow("empty value") << "" << 0 << "";
    QTest::newRow("separators only") << " ,; " << 0 << "";
    QTest::newRow("third field") << "1,2,3" << 2 << "3";
    QTest::newRow("memory overview text") << "64 Mb (used 37%)" << 0 << "64";
    QTest::newRow("tab is not a separator") << "1\t2,3" << 0 << "1\t2";
    QTest::newRow("negative field number") << "1,2" << -1 << "2";
}

void TestFields::extractField()
{
    QFETCH(QString, value);
    QFETCH(int, n);
    QFETCH(QString, field);
    QCOMPARE(ExtractField(value, n), field);
}

void TestFields::textToInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("leading spaces, negative") << "   -42" << -42;
    QTest::newRow("minimum") << "-2147483648" << int(-2147483647 - 1);
    QTest::newRow("maximum") << "2147483647" << 2147483647;
    QTest::newRow("plus sign") << "+17" << 17;
    QTest::newRow("leading zeros") << "000000000000123" << 123;
    QTest::newRow("minus zero") << "-0" << 0;
    QTest::newRow("dollar hex all ones") << "$FFFFFFFF" << -1;
    QTest::newRow("0x lower digits") << "0x1f" << 31;
    QTest::newRow("0X") << "0X1F" << 31;
    QTest::newRow("x") << "x10" << 16;
    QTest::newRow("X") << "X10" << 16;
    QTest::newRow("eight hex digits") << "$80000000" << int(-2147483647 - 1);
    QTest::newRow("spaces before hex") << "  $1F" << 31;
    QTest::newRow("zero") << "0" << 0;
}

void TestFields::textToInteger()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(TextToInteger(text), value);
}

void TestFields::textToIntegerRejects_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("spaces only") << "   ";
    QTest::newRow("above maximum") << "2147483648";
    QTest::newRow("below minimum") << "-2147483649";
    QTest::newRow("very long digits") << QString(5000, u'9');
    QTest::newRow("trailing space") << "12 ";
    QTest::newRow("decimal point") << "1.5";
    QTest::newRow("two fields") << "0,0";
    QTest::newRow("sign only") << "-";
    QTest::newRow("prefix only") << "0x";
    QTest::newRow("dollar only") << "$";
    QTest::newRow("nine hex digits") << "$000000001";
    QTest::newRow("sign before hex") << "-$1";
    QTest::newRow("letters") << "abc";
    QTest::newRow("leading tab") << "\t5";
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0661\u0662");
    QTest::newRow("fullwidth digit") << QString::fromUtf8("\uFF15");
    QTest::newRow("embedded NUL") << QString::fromUtf16(u"5\0", 2);
    QTest::newRow("letter after digits") << "12a";
}

void TestFields::textToIntegerRejects()
{
    QFETCH(QString, text);
    try {
        TextToInteger(text);
        QFAIL("no error raised");
    } catch (const DatabaseError& error) {
        // NUL would end the message text; it shows as a blank.
        QCOMPARE(QString::fromUtf8(error.what()),
                 QStringLiteral("'%1' is not a valid integer value")
                     .arg(QString(text).replace(QChar(0), u' ')));
    }
}

void TestFields::readNumber_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("value");

    QTest::newRow("0x1F") << QByteArray("PIIFreq=0x1F") << 31;
    QTest::newRow("$1F") << QByteArray("PIIFreq=$1F") << 31;
    QTest::newRow("blanks trimmed by the reader") << QByteArray("PIIFreq =  400  ") << 400;
    QTest::newRow("quoted") << QByteArray("PIIFreq=\"400\"") << 400;
    QTest::newRow("0x") << QByteArray("PIIFreq=0x") << -7;
    QTest::newRow("abc") << QByteArray("PIIFreq=abc") << -7;
    QTest::newRow("empty") << QByteArray("PIIFreq=") << -7;
    QTest::newRow("two fields") << QByteArray("PIIFreq=1,2") << -7;
    QTest::newRow("missing key") << QByteArray("Other=1") << -7;
}

void TestFields::readNumber()
{
    QFETCH(QByteArray, line);
    QFETCH(int, value);
    TempBase base;
    base.write("[DATA]\r\n" + line + "\r\n");
    QCOMPARE(ComparisonDatabase(base.path()).ReadNumber("DATA", "PIIFreq", -7), value);
}
