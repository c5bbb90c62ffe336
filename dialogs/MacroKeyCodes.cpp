#include "dialogs/MacroKeyCodes.h"

#include "core/DeviceEvent.h"
#include "core/SharedState.h"

#include <QHash>

#include <algorithm>
#include <iterator>

namespace {
// The mouse button bit of each MouseButtonNames entry (left, right, middle,
// forward, back), and the order in which names are matched.
constexpr int MouseBits[MouseButtonCount] = {0x01, 0x02, 0x04, 0x10, 0x08};
constexpr MouseButtonIndex MouseMatchOrder[] = {MouseLeft, MouseRight, MouseMiddle, MouseBack, MouseForward};

QVector<MacroKeyCodes::Entry> BuildEntries()
{
    using Entry = MacroKeyCodes::Entry;
    QVector<Entry> entries;
    const auto key = [&entries](const QString& name, int code) { entries.append({name, MacroKeyCodes::Key, code}); };
    for (int n = 0; n < 26; ++n)
        key(QString(QChar('A' + n)), 0x04 + n);
    for (int n = 1; n <= 9; ++n)
        key(QString::number(n), 0x1D + n);
    key(QStringLiteral("0"), 0x27);
    const struct {
        const char16_t* name;
        int code;
    } named[] = {
        {u"Enter", 0x28}, {u"Esc", 0x29}, {u"BackSpace", 0x2A}, {u"Tab", 0x2B}, {u"Space", 0x2C},
        {u"-", 0x2D}, {u"=", 0x2E}, {u"[", 0x2F}, {u"]", 0x30}, {u"\\", 0x31}, {u";", 0x33},
        {u"'", 0x34}, {u"`", 0x35}, {u",", 0x36}, {u".", 0x37}, {u"/", 0x38}, {u"CapsLock", 0x39},
    };
    for (const auto& n : named)
        key(QString::fromUtf16(n.name), n.code);
    for (int n = 1; n <= 12; ++n)
        key(QStringLiteral("F") + QString::number(n), 0x39 + n);
    const struct {
        const char16_t* name;
        int code;
    } more[] = {
        {u"Screen", 0x46}, {u"Scroll", 0x47}, {u"Pause", 0x48}, {u"Insert", 0x49}, {u"Home", 0x4A},
        {u"PgUp", 0x4B}, {u"Del", 0x4C}, {u"End", 0x4D}, {u"PgDn", 0x4E}, {u"\u2192", 0x4F},
        {u"\u2190", 0x50}, {u"\u2193", 0x51}, {u"\u2191", 0x52}, {u"NumLock", 0x53}, {u"Num/", 0x54},
        {u"Num*", 0x55}, {u"Num-", 0x56}, {u"Num+", 0x57},
    };
    for (const auto& n : more)
        key(QString::fromUtf16(n.name), n.code);
    for (int n = 1; n <= 9; ++n)
        key(QStringLiteral("Num") + QString::number(n), 0x58 + n);
    key(QStringLiteral("Num0"), 0x62);
    key(QStringLiteral("Num."), 0x63);
    key(QStringLiteral("APPs"), 0x65);
    key(QString(), 0x00);
    const char* const modifiers[] = {"LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin"};
    for (int bit = 0; bit < 8; ++bit)
        entries.append({QLatin1String(modifiers[bit]), MacroKeyCodes::Modifier, 1 << bit});
    return entries;
}

bool IsFunctionKey(const MacroKeyCodes::Entry& entry)
{
    return entry.kind == MacroKeyCodes::Key && entry.code >= 0x3A && entry.code <= 0x45;
}

// The name of a code in one table (key usages or modifier bits).
QString TableName(int kind, int code, bool* found = nullptr)
{
    static const auto byCode = [] {
        QHash<int, QString> table;
        for (const MacroKeyCodes::Entry& entry : MacroKeyCodes::Entries())
            table.insert(entry.kind << 16 | entry.code, entry.name);
        return table;
    }();
    const auto it = byCode.constFind(kind << 16 | code);
    if (found)
        *found = it != byCode.constEnd();
    return it == byCode.constEnd() ? QString() : *it;
}
} // namespace

const QVector<MacroKeyCodes::Entry>& MacroKeyCodes::Entries()
{
    static const QVector<Entry> entries = BuildEntries();
    return entries;
}

bool MacroKeyCodes::CodeOf(const QString& name, int* kind, int* code)
{
    const auto found = [&](int k, int c) {
        *kind = k;
        *code = c;
        return true;
    };
    const QVector<Entry>& entries = Entries();
    // Keyboard names other than F1-F12, and the modifiers; the empty name next.
    for (const Entry& entry : entries) {
        if (!entry.name.isEmpty() && !IsFunctionKey(entry) && entry.name == name)
            return found(entry.kind, entry.code);
    }
    if (name.isEmpty())
        return found(Key, 0x00);
    for (const MouseButtonIndex button : MouseMatchOrder) {
        if (MouseButtonNames[button] == name)
            return found(Mouse, MouseBits[button]);
    }
    for (const Entry& entry : entries) {
        if (IsFunctionKey(entry) && entry.name == name)
            return found(entry.kind, entry.code);
    }
    return false;
}

QStringList MacroKeyCodes::KeyCodeFromName(const QString& name)
{
    int kind = 0;
    int code = 0;
    if (!CodeOf(name, &kind, &code))
        return {};
    return {CodeText(code), QString::number(kind)};
}

bool MacroKeyCodes::KnownCode(const QString& code, int kind, int* value)
{
    // Only the exact form of the files: "0x" and two upper-case hex digits.
    if (code.size() != 4 || !code.startsWith(QLatin1String("0x")))
        return false;
    for (int i = 2; i < 4; ++i) {
        const QChar c = code.at(i);
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))))
            return false;
    }
    const int number = code.midRef(2).toInt(nullptr, 16);
    bool known = false;
    if (kind == Mouse)
        known = std::find(std::begin(MouseBits), std::end(MouseBits), number) != std::end(MouseBits);
    else if (kind == Key || kind == Modifier)
        TableName(kind, number, &known);
    if (known && value)
        *value = number;
    return known;
}

QString MacroKeyCodes::NameFromHidCode(const QString& code, int kind)
{
    int value = 0;
    if (!KnownCode(code, kind, &value))
        return QString();
    return kind == Mouse ? MouseNameFromMask(value) : TableName(kind, value);
}

QString MacroKeyCodes::NameFromDeviceCode(int code, int kind)
{
    switch (code) {
    case 0x04:
    case 0x08:
    case 0x10:
    case 0x20:
        return kind == Key || kind == Modifier ? TableName(kind, code) : QString();
    case 0x40:
        return kind == Modifier ? TableName(Modifier, code) : TableName(Key, code);
    case 0x01:
    case 0x02:
    case 0x80:
        return TableName(Modifier, code);
    case 0x58:
        return QStringLiteral("Enter");
    default:
        return TableName(Key, code);
    }
}

QString MacroKeyCodes::MouseNameFromMask(int bit)
{
    for (int button = 0; button < MouseButtonCount; ++button) {
        if (MouseBits[button] == bit)
            return MouseButtonNames[button];
    }
    return QString();
}

QString MacroKeyCodes::CodeText(int code)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(code & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

void MacroKeyCodes::FillDeviceEvent(const QString& name, DeviceEvent* event)
{
    int kind = Key;
    int code = 0;
    if (!CodeOf(name, &kind, &code)) {
        event->kind = Key;
        return;
    }
    event->kind = quint8(kind);
    event->code = quint16(code);
}

QString KeyNameFromHidCode(const QString& code, int kind)
{
    return MacroKeyCodes::NameFromHidCode(code, kind);
}
