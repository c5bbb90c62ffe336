#include "core/ButtonRecords.h"

#include <QHash>

#include <algorithm>
#include <iterator>

namespace {
constexpr int EventDelayMs = 10;

// Combination key names and their keyboard usages (kind 1).
QHash<QString, int> KeyUsages()
{
    QHash<QString, int> table;
    for (int letter = 0; letter < 26; ++letter)
        table.insert(QString(QChar('A' + letter)), 0x04 + letter);
    for (int digit = 1; digit <= 9; ++digit)
        table.insert(QString::number(digit), 0x1E + digit - 1);
    table.insert(QStringLiteral("0"), 0x27);
    const QStringList named{"Enter", "Esc", "BackSpace", "Tab", "Space", "-", "=", "[", "]", "\\"};
    for (int i = 0; i < named.size(); ++i)
        table.insert(named.at(i), 0x28 + i);
    const QStringList punctuation{";", "'", "`", ",", ".", "/", "CapsLock"};
    for (int i = 0; i < punctuation.size(); ++i)
        table.insert(punctuation.at(i), 0x33 + i);
    for (int f = 1; f <= 12; ++f)
        table.insert(QStringLiteral("F%1").arg(f), 0x3A + f - 1);
    const QStringList block{"Screen", "Scroll", "Pause", "Insert", "Home", "PgUp", "Del", "End", "PgDn",
                            QStringLiteral("→"), QStringLiteral("←"), QStringLiteral("↓"), QStringLiteral("↑"),
                            "NumLock", "Num/", "Num*", "Num-", "Num+"};
    for (int i = 0; i < block.size(); ++i)
        table.insert(block.at(i), 0x46 + i);
    for (int digit = 1; digit <= 9; ++digit)
        table.insert(QStringLiteral("Num%1").arg(digit), 0x59 + digit - 1);
    table.insert(QStringLiteral("Num0"), 0x62);
    table.insert(QStringLiteral("Num."), 0x63);
    table.insert(QStringLiteral("APPs"), 0x65);
    return table;
}

// The label names of the keyboard usages 0x00-0x7F ("" where there is none);
// 0x80 and above name nothing except Win.
QStringList UsageNames()
{
    QStringList names;
    for (int code = 0; code < 0x80; ++code)
        names << QString();
    const QHash<QString, int> usages = KeyUsages();
    for (auto it = usages.constBegin(); it != usages.constEnd(); ++it)
        names[it.value()] = it.key();
    names[0x58] = QStringLiteral("Enter");   // the keypad Enter reads as Enter
    return names;
}
} // namespace

const int ButtonRecords::DefaultTypes[ShownButtons] = {1, 1, 1, 1, 1, 2};
const int ButtonRecords::DefaultValues1[ShownButtons] = {1, 2, 4, 8, 16, 1};

QStringList ButtonRecords::ComboItems(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('+'), Qt::KeepEmptyParts);
    QStringList items;
    for (int i = 0; i < parts.size(); ++i) {
        if (parts.at(i) == QLatin1String("Num") && i + 1 < parts.size() && parts.at(i + 1).isEmpty()) {
            items << QStringLiteral("Num+");
            ++i;
        } else {
            items << parts.at(i);
        }
    }
    return items;
}

bool ButtonRecords::ComboKeyRecord(const QString& text, KeyRecord* record)
{
    const QStringList items = ComboItems(text);
    if (items.size() > MaxComboItems)
        return false;
    KeyRecord built;
    for (int i = 0; i < items.size(); ++i)
        built = FillComboKeyEvent(items.at(i), i, items.size(), built);
    built.count = quint8(2 * items.size());
    *record = built;
    return true;
}

KeyRecord ButtonRecords::FillComboKeyEvent(const QString& keyName, int index, int count, KeyRecord record)
{
    const int release = 2 * count - 1 - index;
    if (index < 0 || index >= MaxComboItems || release < 0 || release >= KeyRecord::MaxEvents)
        return record;
    int kind = DeviceEvent::Key;
    int code = 0;
    ComboKeyCode(keyName, &kind, &code);
    for (int slot : {index, release}) {
        DeviceEvent& event = record.events[slot];
        event.release = slot == index ? 0 : 1;
        event.kind = quint8(kind);
        event.code = quint16(code);
        event.delay = EventDelayMs;
    }
    return record;
}

void ButtonRecords::ComboKeyCode(const QString& keyName, int* kind, int* code)
{
    static const QHash<QString, int> modifiers{
        {QStringLiteral("Ctrl"), 0x01}, {QStringLiteral("Shift"), 0x02},
        {QStringLiteral("Alt"), 0x04}, {QStringLiteral("Win"), 0x08}};
    static const QHash<QString, int> keys = KeyUsages();
    if (modifiers.contains(keyName)) {
        *kind = DeviceEvent::Modifier;
        *code = modifiers.value(keyName);
    } else {
        *kind = DeviceEvent::Key;
        *code = keys.value(keyName, 0);
    }
}

KeyRecord ButtonRecords::ConsumerKeyRecord(int usage)
{
    KeyRecord record;
    record.count = 2;
    for (int slot = 0; slot < 2; ++slot) {
        DeviceEvent& event = record.events[slot];
        event.release = quint8(slot);
        event.kind = DeviceEvent::Consumer;
        event.code = quint16(usage);
        event.delay = EventDelayMs;
    }
    return record;
}

QString ButtonRecords::KeyNameFromDeviceCode(int code, int kind)
{
    // Codes that are a modifier bit and a key usage at once.
    struct Shared {
        int code;
        const char* key;
        const char* modifier;
    };
    static const Shared shared[] = {
        {0x04, "A", "Alt"}, {0x08, "E", "Win"}, {0x10, "M", "Ctrl"}, {0x20, "3", "Shift"}, {0x40, "F7", "Alt"}};
    for (const Shared& entry : shared) {
        if (entry.code != code)
            continue;
        if (kind == DeviceEvent::Key)
            return QLatin1String(entry.key);
        if (kind == DeviceEvent::Modifier)
            return QLatin1String(entry.modifier);
        return QString();
    }
    switch (code) {
    case 0x01:
        return QStringLiteral("Ctrl");
    case 0x02:
        return QStringLiteral("Shift");
    case 0x80:
        return QStringLiteral("Win");
    default:
        break;
    }
    static const QStringList names = UsageNames();
    return code >= 0 && code < names.size() ? names.at(code) : QString();
}

QString ButtonRecords::ComboText(const KeyRecord& record)
{
    const int keys = qMin(record.count / 2, int(KeyRecord::MaxEvents));
    QStringList names;
    for (int i = 0; i < keys; ++i)
        names << KeyNameFromDeviceCode(record.events[i].code & 0xFF, record.events[i].kind);
    return names.join(QLatin1Char('+'));
}

namespace {
// A name byte that is not part of UTF-8 stands for itself as the private-use
// character ByteMark + byte.
constexpr ushort ByteMark = 0xF700;

// The length of the UTF-8 sequence at bytes[at], 0 when none starts there
// (a stray or overlong byte, a surrogate, beyond U+10FFFF, cut off).
int Utf8Length(const QByteArray& bytes, int at)
{
    const auto byte = [&bytes](int i) { return i < bytes.size() ? quint8(bytes.at(i)) : 0; };
    const auto follows = [&byte](int i, int low = 0x80, int high = 0xBF) { return byte(i) >= low && byte(i) <= high; };
    const int lead = byte(at);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return follows(at + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const bool second = lead == 0xE0 ? follows(at + 1, 0xA0) : lead == 0xED ? follows(at + 1, 0x80, 0x9F)
                                                                                   : follows(at + 1);
        return second && follows(at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const bool second = lead == 0xF0 ? follows(at + 1, 0x90) : lead == 0xF4 ? follows(at + 1, 0x80, 0x8F)
                                                                                   : follows(at + 1);
        return second && follows(at + 2) && follows(at + 3) ? 4 : 0;
    }
    return 0;
}
} // namespace

QByteArray ButtonRecords::NameBytes(const QString& name)
{
    QByteArray bytes;
    for (int i = 0; i < name.size(); ++i) {
        const ushort ch = name.at(i).unicode();
        if (ch >= ByteMark + 0x80 && ch <= ByteMark + 0xFF) {
            bytes += char(ch - ByteMark);
            continue;
        }
        const bool pair = name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate();
        bytes += name.midRef(i, pair ? 2 : 1).toUtf8();
        i += pair ? 1 : 0;
    }
    return bytes;
}

QString ButtonRecords::NameOfBytes(const QByteArray& bytes)
{
    QString name;
    for (int at = 0; at < bytes.size();) {
        const int length = Utf8Length(bytes, at);
        // (fromUtf8 drops a byte order mark that starts its text.)
        const QString character = bytes.mid(at, length) == "\xEF\xBB\xBF"
            ? QString(QChar(0xFEFF))
            : QString::fromUtf8(bytes.constData() + at, length);
        // The UTF-8 of a byte's own mark is bytes too, so that it reads back
        // as those bytes.
        const bool mark = character.size() == 1 && character.at(0).unicode() >= ByteMark + 0x80
            && character.at(0).unicode() <= ByteMark + 0xFF;
        if (length > 0 && !mark) {
            name += character;
            at += length;
        } else {
            name += QChar(ushort(ByteMark + quint8(bytes.at(at))));
            ++at;
        }
    }
    return name;
}

QString ButtonRecords::BlockName(const QString& name)
{
    if (NameBytes(name).size() <= MacroBlock::MaxNameLength)
        return name;
    int fits = 0;
    for (int end = 1; end <= name.size(); ++end) {
        // Whole characters only: never end between the halves of a pair.
        if (end < name.size() && name.at(end).isLowSurrogate())
            continue;
        if (NameBytes(name.left(end)).size() > MacroBlock::MaxNameLength)
            break;
        fits = end;
    }
    return name.left(fits);
}

void ButtonRecords::SetMacroName(MacroBlock* block, const QString& name)
{
    const QByteArray bytes = NameBytes(BlockName(name));
    std::fill(std::begin(block->name), std::end(block->name), '\0');
    std::copy(bytes.cbegin(), bytes.cend(), block->name);
    block->nameLength = quint8(bytes.size());
}

QString ButtonRecords::MacroName(const MacroBlock& block)
{
    QByteArray bytes(block.name, qMin(int(block.nameLength), MacroBlock::MaxNameLength));
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return NameOfBytes(bytes);
}

ButtonRecords::KeyParameter ButtonRecords::KeyParameterOf(const QStringList& items)
{
    KeyParameter parameter;
    if (items.isEmpty() || items.at(0).trimmed() != QLatin1String("0x05"))
        return parameter;
    if (items.size() == 3) {
        bool ok = false;
        const int code = items.at(2).trimmed().toInt(&ok, 16);
        parameter.kind = KeyParameter::Consumer;
        parameter.code = ok ? code : -1;
    } else if (items.size() == 4 && ComboItems(items.at(3).trimmed()).size() <= MaxComboItems) {
        parameter.kind = KeyParameter::Combination;
        parameter.text = items.at(3).trimmed();
    }
    return parameter;
}
