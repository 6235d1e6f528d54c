// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A base.ini in a fresh temporary directory, with its raw bytes at hand.
class TempBase
{
public:
    explicit TempBase(const QString& name = QStringLiteral("base.ini"))
        : m_path(m_dir.filePath(name))
    {
    }

    const QString& path() const { return m_path; }
    QString dir() const { return m_dir.path(); }

    void write(const QByteArray& bytes) const
    {
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(m_path));
        file.write(bytes);
    }

    QByteArray read() const
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray("<missing>");
        return file.readAll();
    }

    bool exists() const { return QFile::exists(m_path); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// A byte array from a literal that may hold NUL bytes.
template <qsizetype N> QByteArray Bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}
