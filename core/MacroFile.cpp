#include "core/MacroFile.h"

#include "core/ButtonRecords.h"
#include "platform/ReplaceFile.h"
#include "platform/UserDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString IniSuffix = QStringLiteral(".ini");

// The line's parts at blanks, empty parts dropped; the line end, when the
// line has one, belongs to the last part (so "0x04 1 0 " + line end has four
// parts and an empty line one).
QStringList Parts(const QString& line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

QString MacroFile::Folder()
{
    return UserDataFolder() + QStringLiteral("/usersetting/MacroPage");
}

QString MacroFile::PathOf(const QString& name)
{
    return PathOf(Folder(), name);
}

QString MacroFile::PathOf(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name + IniSuffix;
}

QStringList MacroFile::List(const QString& folder)
{
    QStringList names;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::Hidden,
                                                           QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files) {
        const QString fileName = file.fileName();
        if (!fileName.endsWith(IniSuffix))
            continue;
        // The name maps back to this very file, or the file is no macro (a
        // name no macro can have, or one the file system does not spell the
        // same way back).
        const QString name = fileName.chopped(IniSuffix.size());
        if (NameAllowed(name) && QFileInfo(PathOf(folder, name)).isFile())
            names.append(name);
    }
    return names;
}

bool MacroFile::NameAllowed(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.contains(QLatin1String("xml")))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    // The name goes to the mouse as bytes and must come back the same.
    if (ButtonRecords::NameOfBytes(ButtonRecords::NameBytes(name)) != name)
        return false;
    return ReplaceFileNameFits(name + IniSuffix);
}

bool MacroFile::Read(const QString& path, Content* content)
{
    *content = Content();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() > MaxFileSize) {
        qWarning("macro file too large, not read: %s", qPrintable(path));
        return false;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));

    int start = 0;
    bool first = true;
    while (start < text.size()) {
        const int end = text.indexOf(QLatin1Char('\n'), start);
        // The line with its line end, when it has one.
        const QString line = end < 0 ? text.mid(start) : text.mid(start, end - start + 1);
        start = end < 0 ? text.size() : end + 1;
        if (first) {
            first = false;
            content->hasHeader = true;
            content->header = QString(line).remove(QLatin1Char('\n'));
            continue;
        }
        const QStringList parts = Parts(line);
        if (parts.size() == 3) {
            Line key;
            if (parts.at(2) == QLatin1String("0\n"))
                key.release = false;
            else if (parts.at(2) == QLatin1String("1\n"))
                key.release = true;
            else
                continue;
            key.code = parts.at(0);
            key.kind = parts.at(1).toInt();
            content->lines.append(key);
        } else if (parts.size() == 1) {
            Line delay;
            delay.delay = true;
            delay.text = QString(parts.at(0)).remove(QLatin1Char('\n'));
            content->lines.append(delay);
        }
    }
    return true;
}

int MacroFile::RepeatCodeOf(const QString& header)
{
    const QStringList parts = header.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int value = parts.isEmpty() ? 0 : parts.first().trimmed().toInt();
    if (value == 253 || value == 254 || value == 255)
        return value;
    return value >= 1 && value <= 250 ? value : 1;
}

QString MacroFile::ReadHeaderValue(const QString& path)
{
    Content content;
    if (!Read(path, &content))
        return QStringLiteral("0");
    const QStringList parts = content.header.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return parts.isEmpty() ? QStringLiteral("0") : parts.first().trimmed();
}

QByteArray MacroFile::FormatLines(const QVector<Line>& lines)
{
    QByteArray text;
    for (const Line& line : lines) {
        if (line.delay)
            text += line.text.toUtf8();
        else
            text += line.code.toUtf8() + ' ' + QByteArray::number(line.kind) + ' ' + (line.release ? '1' : '0');
        text += '\n';
    }
    return text;
}

QByteArray MacroFile::Format(const QString& header, const QVector<Line>& lines)
{
    return header.toUtf8() + '\n' + FormatLines(lines);
}

bool MacroFile::Write(const QString& path, const QString& header, const QVector<Line>& lines, QString* error)
{
    return ReplaceFile(path, Format(header, lines), error);
}

bool MacroFile::WriteHeader(const QString& path, const QString& header, QString* error)
{
    return ReplaceFile(path, header.toUtf8() + '\n', error);
}

bool MacroFile::CreateEmpty(const QString& path, QString* error)
{
    return ReplaceFile(path, QByteArray(), error);
}

bool MacroFile::Append(const QString& path, const QVector<Line>& lines, QString* error)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("no macro file %1").arg(path);
        return false;
    }
    if (file.size() > MaxFileSize) {
        if (error)
            *error = QStringLiteral("macro file too large: %1").arg(path);
        return false;
    }
    QByteArray content = file.readAll();
    file.close();
    if (!content.isEmpty() && !content.endsWith('\n'))
        content += '\n';
    return ReplaceFile(path, content + FormatLines(lines), error);
}
