// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/QtOptions.h"

#include <array>

namespace report {
namespace {

enum class Value
{
    None,   // -reverse
    Next,   // -platform xcb, -platform=xcb
    Equals, // -qmljsdebugger=port:1234, which Qt reads only in this form
};

struct QtOption
{
    const char* name;
    Value value;
};

// QApplication, QGuiApplication and the xcb platform read these.
constexpr std::array kQtOptions{
    QtOption{"style", Value::Next},
    QtOption{"stylesheet", Value::Next},
    QtOption{"widgetcount", Value::None},
    QtOption{"reverse", Value::None},
    QtOption{"platform", Value::Next},
    QtOption{"platformpluginpath", Value::Next},
    QtOption{"platformtheme", Value::Next},
    QtOption{"plugin", Value::Next},
    QtOption{"qwindowgeometry", Value::Next},
    QtOption{"geometry", Value::Next},
    QtOption{"qwindowtitle", Value::Next},
    QtOption{"title", Value::Next},
    QtOption{"qwindowicon", Value::Next},
    QtOption{"icon", Value::Next},
    QtOption{"session", Value::Next},
    QtOption{"display", Value::Next},
    QtOption{"name", Value::Next},
    QtOption{"visual", Value::Next},
    QtOption{"fontengine", Value::Next},
    QtOption{"qmljsdebugger", Value::Equals},
    QtOption{"nograb", Value::None},
    QtOption{"dograb", Value::None},
    QtOption{"sync", Value::None},
    QtOption{"testability", Value::None},
};

const QtOption* findQtOption(const QString& name)
{
    for (const QtOption& option : kQtOptions)
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

// "--output" for "--output=x" and "--output"; empty for anything else.
QString ownName(const QString& argument)
{
    if (!argument.startsWith(QLatin1String("--")) || argument.contains(QLatin1Char('=')))
        return {};
    return argument;
}

class Splitter
{
public:
    Splitter(const QStringList& arguments, const QStringList& ownWithValue)
        : m_arguments(arguments), m_ownWithValue(ownWithValue)
    {
    }

    QtOptionSplit split()
    {
        if (!m_arguments.isEmpty())
            m_split.own << m_arguments.constFirst();
        for (m_index = 1; m_index < m_arguments.size() && m_split.error.isEmpty(); ++m_index)
            take(m_arguments[m_index]);
        return m_split;
    }

private:
    void take(const QString& argument)
    {
        if (argument == QLatin1String("--")) {
            m_split.own << m_arguments.mid(m_index);
            m_index = m_arguments.size();
            return;
        }
        if (takeQtOption(argument))
            return;
        m_split.own << argument;
        if (m_ownWithValue.contains(ownName(argument)) && m_index + 1 < m_arguments.size())
            m_split.own << m_arguments[++m_index];
    }

    bool takeQtOption(const QString& argument)
    {
        if (!argument.startsWith(QLatin1Char('-')))
            return false;
        const QString body = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = body.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? body : body.left(equals);
        const QtOption* option = findQtOption(name);
        if (option == nullptr)
            return false;
        const QString dashed = QLatin1Char('-') + name;
        m_split.names << name;
        if (option->value == Value::None && equals >= 0) {
            m_split.error = QStringLiteral("%1 takes no value.").arg(dashed);
        } else if (option->value == Value::None) {
            m_split.qt << dashed;
        } else if (equals >= 0) {
            appendValue(*option, dashed, body.mid(equals + 1));
        } else if (m_index + 1 < m_arguments.size()) {
            appendValue(*option, dashed, m_arguments[++m_index]);
        } else {
            m_split.error = QStringLiteral("%1 needs a value.").arg(argument);
        }
        return true;
    }

    void appendValue(const QtOption& option, const QString& dashed, const QString& value)
    {
        if (option.value == Value::Equals)
            m_split.qt << dashed + QLatin1Char('=') + value;
        else
            m_split.qt << dashed << value;
    }

    const QStringList& m_arguments;
    const QStringList& m_ownWithValue;
    qsizetype m_index = 1;
    QtOptionSplit m_split;
};

} // namespace

QtOptionSplit SplitQtOptions(const QStringList& arguments, const QStringList& ownWithValue)
{
    return Splitter(arguments, ownWithValue).split();
}

} // namespace report
