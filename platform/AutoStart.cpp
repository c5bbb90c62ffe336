#include "platform/AutoStart.h"

#include "platform/ProductName.h"
#include "platform/ReplaceFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

QString AutoStart::EntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/") + ProductName + QStringLiteral(".desktop");
}

QString AutoStart::ExecArgument(const QString& program)
{
    // Quoting rules of the desktop entry format: an argument with a reserved
    // character goes in double quotes, inside which ", `, $ and \ take a
    // backslash; "%" is doubled (field codes); then the value as a whole is
    // escaped as a string (backslash, line breaks).
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = program.isEmpty();
    for (const QChar c : program)
        quote = quote || reserved.contains(c);

    QString argument;
    if (quote)
        argument += QLatin1Char('"');
    for (const QChar c : program) {
        if (quote && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                      || c == QLatin1Char('\\')))
            argument += QLatin1Char('\\');
        argument += c;
        if (c == QLatin1Char('%'))
            argument += c;
    }
    if (quote)
        argument += QLatin1Char('"');

    QString value;
    for (const QChar c : qAsConst(argument)) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

bool AutoStart::Enable(const QString& program)
{
    const QString path = EntryPath();
    const QString target = program.isEmpty() ? QCoreApplication::applicationFilePath() : program;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=")
        + ProductName + QStringLiteral("\nExec=") + ExecArgument(target)
        + QStringLiteral("\nTerminal=false\n"
                         "X-GNOME-Autostart-enabled=true\n");
    return ReplaceFile(path, entry.toUtf8());
}

bool AutoStart::Disable()
{
    const QString path = EntryPath();
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

bool AutoStart::SetEnabled(bool on)
{
    return on ? Enable() : Disable();
}

bool AutoStart::IsEnabled()
{
    QFile file(EntryPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    bool inEntry = false;
    bool enabled = true;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (!inEntry || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Hidden") && value == QLatin1String("true"))
            enabled = false;
        if (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false"))
            enabled = false;
    }
    return enabled;
}
