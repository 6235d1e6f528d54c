// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

namespace report {

// A file name's bytes as text that keeps them: UTF-8 is decoded, and each
// byte that is not part of valid UTF-8 becomes the lone surrogate U+DC80 +
// byte (as Python's "surrogateescape"), so FileNameBytes gives it back
// exactly. Qt's own decoding would turn such a byte into U+FFFD and so name
// another file.
QString FileNameText(const QByteArray& bytes);

// The bytes a name made by FileNameText stands for; any other text in UTF-8.
QByteArray FileNameBytes(const QString& text);

// An environment variable that names a file, as FileNameText keeps it; the
// command line's arguments are read the same way.
QString EnvironmentFileName(const char* name);

// The local file a file: URL names (a drop's), as FileNameText keeps it:
// from the URL's percent-decoded path bytes, where QUrl::toLocalFile would
// decode them as UTF-8 and name another file. Empty for other URLs.
QString LocalFileName(const QUrl& url);

} // namespace report
