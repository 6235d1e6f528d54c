// TEMPORARY STAND-IN: lets the shell link until the comparison database module
// has its implementation. Every read returns its default, writes do nothing.
// Delete this file when database/ComparisonDatabase.cpp lands.
#include "database/ComparisonDatabase.h"

ComparisonDatabase::ComparisonDatabase(QString path) : m_path(std::move(path)) {}

QString ComparisonDatabase::ReadText(const QString&, const QString&, const QString& defaultText) const
{
    return defaultText;
}

int ComparisonDatabase::ReadNumber(const QString&, const QString&, int defaultValue) const
{
    return defaultValue;
}

QStringList ComparisonDatabase::ListKeys(const QString&) const
{
    return {};
}

void ComparisonDatabase::WriteText(const QString&, const QString&, const QString&) {}

void ComparisonDatabase::RemoveSection(const QString&) {}

void ComparisonDatabase::ReplaceLists(const DatabaseLists&) {}
