// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The text of an INI file and how it was stored. The program writes UTF-8; a
// file that is not valid UTF-8 was written by the Windows program in
// Windows-1251. A UTF-8 byte-order mark is never text: it is taken off before
// decoding either way, and written back where the file had one.
struct IniText
{
    QString text;
    bool byteOrderMark = false;
};

bool IsValidUtf8(const QByteArray& bytes);
IniText DecodeIni(const QByteArray& bytes);
QByteArray EncodeIni(const IniText& ini);
