// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtArguments.h"

#include "session/FileNames.h"

QtArguments::QtArguments(const char* program, const QStringList& qtOptions, const QString& platform)
{
    m_bytes.emplace_back(program != nullptr ? program : "quorvix");
    for (const QString& option : qtOptions)
        m_bytes.push_back(report::FileNameBytes(option)); // the bytes as given
    if (!platform.isEmpty()) {
        m_bytes.emplace_back("-platform");
        m_bytes.push_back(platform.toUtf8());
    }
    for (QByteArray& bytes : m_bytes)
        m_pointers.push_back(bytes.data());
    m_argc = int(m_bytes.size());
    m_pointers.push_back(nullptr); // argv[argc], as main() has it
}
