#include "platform/IniText.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSettings>
#include <QSize>
#include <QStringList>
#include <QTextCodec>
#include <QVector>

#include <algorithm>

namespace {
const char HexDigits[] = "0123456789ABCDEF";

// A group or key name: letters, digits, "_", "-" and "." as they are, "/"
// as "\", other characters as "%XX" or "%UXXXX".
void AppendName(const QString& name, QByteArray& out)
{
    for (const QChar c : name) {
        const ushort ch = c.unicode();
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
                   || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += HexDigits[ch >> 4];
            out += HexDigits[ch & 0xF];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += HexDigits[(ch >> shift) & 0xF];
        }
    }
}

// A value as the settings text of one item, before escaping.
QString VariantText(const QVariant& value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return QStringLiteral("@ByteArray(") + QLatin1String(bytes.constData(), bytes.size()) + QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double:
    case QMetaType::QKeySequence: {
        QString text = value.toString();
        if (text.contains(QChar::Null))
            return QStringLiteral("@String(") + text + QLatin1Char(')');
        // A text that starts with "@" would read as a type.
        if (text.startsWith(QLatin1Char('@')))
            text.prepend(QLatin1Char('@'));
        return text;
    }
    case QMetaType::QRect: {
        const QRect r = value.toRect();
        return QString::asprintf("@Rect(%d %d %d %d)", r.x(), r.y(), r.width(), r.height());
    }
    case QMetaType::QSize: {
        const QSize s = value.toSize();
        return QString::asprintf("@Size(%d %d)", s.width(), s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = value.toPoint();
        return QString::asprintf("@Point(%d %d)", p.x(), p.y());
    }
    default: {
        const bool dateTime = value.userType() == QMetaType::QDateTime;
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
        stream << value;
        return QLatin1String(dateTime ? "@DateTime(" : "@Variant(") + QLatin1String(bytes.constData(), bytes.size())
            + QLatin1Char(')');
    }
    }
}

bool IsHexDigit(ushort ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

// One item of a value: control characters, quotes and backslashes escaped,
// other characters in UTF-8 (as Latin-1 escapes in binary items), in quotes
// when it holds ";", "," or "=" or starts or ends with a space.
void AppendItem(const QString& text, QByteArray& out)
{
    const bool binary = text.startsWith(QLatin1String("@ByteArray(")) || text.startsWith(QLatin1String("@Variant("));
    const int start = out.size();
    bool quote = false;
    // After a "\x.." escape a following hexadecimal digit would be read as
    // part of it, so it is escaped too.
    bool afterHexEscape = false;
    for (int i = 0; i < text.size(); ++i) {
        const ushort ch = text.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            quote = true;
        if (afterHexEscape && IsHexDigit(ch)) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        afterHexEscape = false;
        switch (ch) {
        case '\0':
            out += "\\0";
            afterHexEscape = true;
            break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"':
        case '\\':
            out += '\\';
            out += char(ch);
            break;
        default:
            // A byte order mark at the start of a stretch of text is dropped
            // by the reader, and half a UTF-16 pair has no UTF-8: escaped,
            // both read back.
            const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
            if (ch <= 0x1F || (ch >= 0x7F && binary) || ch == 0xFEFF || (text.at(i).isSurrogate() && !pair)) {
                out += "\\x" + QByteArray::number(ch, 16);
                afterHexEscape = true;
            } else if (ch >= 0x7F) {
                // A surrogate pair is one character.
                out += text.midRef(i, pair ? 2 : 1).toUtf8();
                i += pair ? 1 : 0;
            } else {
                out += char(ch);
            }
        }
    }
    if (quote || (out.size() > start && (out.at(start) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

void AppendValue(const QVariant& value, QByteArray& out)
{
    const bool list = value.userType() == QMetaType::QStringList
        || (value.userType() == QMetaType::QVariantList && value.toList().size() != 1);
    if (!list) {
        AppendItem(VariantText(value), out);
        return;
    }
    const QVariantList items = value.toList();
    // An empty list reads back as an empty list from the invalid value.
    if (items.isEmpty())
        out += "@Invalid()";
    for (int i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += ", ";
        AppendItem(VariantText(items.at(i)), out);
    }
}
} // namespace

QString IniText::NormalisedKey(const QString& key)
{
    return key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

QVariantMap IniText::Writable(const QVariantMap& values)
{
    QVariantMap writable;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        if (!it.key().isEmpty() && NormalisedKey(it.key()) == it.key())
            writable.insert(it.key(), it.value());
    }
    return writable;
}

QByteArray IniText::Format(const QVariantMap& values)
{
    // Group name -> (key within the group, value), both in the order of names.
    QMap<QString, QVector<QPair<QString, QVariant>>> groups;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const QString key = NormalisedKey(it.key());
        const int slash = key.indexOf(QLatin1Char('/'));
        groups[slash < 0 ? QString() : key.left(slash)].append({slash < 0 ? key : key.mid(slash + 1), it.value()});
    }
    QByteArray out;
    for (auto group = groups.constBegin(); group != groups.constEnd(); ++group) {
        if (!out.isEmpty())
            out += '\n';
        QByteArray name;
        AppendName(group.key(), name);
        if (name.isEmpty())
            out += "[General]";
        else if (name.compare("general", Qt::CaseInsensitive) == 0)
            // "[general]" in any case is the group of keys without one; "%"
            // keeps the group's own spelling.
            out += "[%" + name + ']';
        else
            out += '[' + name + ']';
        out += '\n';
        auto entries = group.value();
        using Entry = QPair<QString, QVariant>;
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.first < b.first; });
        for (const auto& entry : qAsConst(entries)) {
            AppendName(entry.first, out);
            out += '=';
            AppendValue(entry.second, out);
            out += '\n';
        }
    }
    return out;
}

bool IniText::Read(const QString& path, QVariantMap* values, QString* error)
{
    values->clear();
    if (!QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.close();
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec(QTextCodec::codecForName("UTF-8"));
    if (settings.status() == QSettings::AccessError) {
        if (error)
            *error = QStringLiteral("cannot be read");
        return false;
    }
    const QStringList keys = settings.allKeys();
    for (const QString& key : keys)
        values->insert(key, settings.value(key));
    return true;
}
