// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Windows-1251 (Cyrillic) to Unicode. Files written by the Windows program are
// in this code page; Qt 6.4's own decoders have no codec for it.
QString DecodeWindows1251(const QByteArray& bytes);
