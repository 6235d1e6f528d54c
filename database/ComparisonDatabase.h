#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

// Raised by every operation that fails; the message is the text the user sees.
class DatabaseError : public std::runtime_error
{
public:
    explicit DatabaseError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// One row of a list section as the editor writes it back: key = value.
struct DatabaseRow
{
    QString key;
    QString value;
};

// The four list sections in the order the editor writes them.
struct DatabaseLists
{
    QList<DatabaseRow> processor;
    QList<DatabaseRow> memory;
    QList<DatabaseRow> video;
    QList<DatabaseRow> drive;
};

// The comparison database: an INI file read and written with Windows
// private-profile semantics. Holds only the path; every call goes to the file
// at the moment it is made.
class ComparisonDatabase
{
public:
    explicit ComparisonDatabase(QString path);

    const QString& path() const { return m_path; }

    QString ReadText(const QString& section, const QString& key,
                     const QString& defaultText) const;
    int ReadNumber(const QString& section, const QString& key, int defaultValue) const;
    QStringList ListKeys(const QString& section) const;
    void WriteText(const QString& section, const QString& key, const QString& value);
    void RemoveSection(const QString& section);

    // Replaces the sections Processor, Memory, Video and Drive with the given
    // rows in one atomic replacement of the file.
    void ReplaceLists(const DatabaseLists& lists);

private:
    QString m_path;
};

// The n-th field (from 0) of a list of fields separated by blanks, commas or
// semicolons.
QString ExtractField(const QString& value, int n);

// Strict integer conversion; throws DatabaseError
// "'<text>' is not a valid integer value".
int TextToInteger(const QString& text);
