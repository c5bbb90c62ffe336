#include "dialogs/KeyNames.h"

#include <QHash>

namespace {

QHash<int, QString> BuildTable()
{
    QHash<int, QString> t;
    for (int n = 0; n <= 9; ++n) {
        t.insert(0x30 + n, QString::number(n));
        t.insert(0x60 + n, QStringLiteral("Num") + QString::number(n));
    }
    for (int n = 0; n < 26; ++n)
        t.insert(0x41 + n, QString(QChar('A' + n)));
    for (int n = 0; n < 12; ++n)
        t.insert(0x70 + n, QStringLiteral("F") + QString::number(n + 1));
    const struct {
        int vk;
        const char16_t* name;
    } named[] = {
        {0x08, u"BackSpace"}, {0x09, u"Tab"}, {0x0D, u"Enter"}, {0x13, u"Pause"},
        {0x14, u"CapsLock"}, {0x1B, u"Esc"}, {0x21, u"PgUp"}, {0x22, u"PgDn"},
        {0x23, u"End"}, {0x24, u"Home"}, {0x25, u"\u2190"}, {0x26, u"\u2191"},
        {0x27, u"\u2192"}, {0x28, u"\u2193"}, {0x2C, u"Screen"}, {0x2D, u"Insert"},
        {0x2E, u"Del"}, {0x5B, u"LWin"}, {0x5C, u"RWin"}, {0x5D, u"APPs"},
        {0x6A, u"Num*"}, {0x6B, u"Num+"}, {0x6D, u"Num-"}, {0x6E, u"Num."},
        {0x6F, u"Num/"}, {0x90, u"NumLock"}, {0x91, u"Scroll"}, {0xA0, u"LShift"},
        {0xA1, u"RShift"}, {0xA2, u"LCtrl"}, {0xA3, u"RCtrl"}, {0xA4, u"LAlt"},
        {0xBA, u";"}, {0xBB, u"="}, {0xBC, u","}, {0xBD, u"-"}, {0xBE, u"."},
        {0xBF, u"/"}, {0xC0, u"`"}, {0xDB, u"["}, {0xDC, u"\\"}, {0xDD, u"]"},
        {0xDE, u"'"}, {0x20, u"Space"}, {0xA5, u"RAlt"}, {0x0C, u""},
    };
    for (const auto& entry : named)
        t.insert(entry.vk, QString::fromUtf16(entry.name));
    return t;
}

bool FullOnly(int vk)
{
    return vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA4);
}

bool RecorderOnly(int vk)
{
    return vk == 0x20 || vk == 0xA5 || vk == 0x0C;
}

const QHash<int, QString>& Table()
{
    static const QHash<int, QString> table = BuildTable();
    return table;
}

const QString& NumPlus()
{
    static const QString name = QStringLiteral("Num+");
    return name;
}

} // namespace

bool KeyNames::Known(int vk, Variant variant)
{
    if (variant == Combination && FullOnly(vk))
        return false;
    if (variant != Recorder && RecorderOnly(vk))
        return false;
    return Table().contains(vk);
}

QString KeyNames::Name(int vk, Variant variant)
{
    return Known(vk, variant) ? Table().value(vk) : QString();
}

QStringList KeyNames::SplitCombination(const QString& text)
{
    QStringList items;
    int start = 0;
    while (start < text.size()) {
        if (text.midRef(start, NumPlus().size()) == NumPlus()
            && (start + NumPlus().size() == text.size() || text.at(start + NumPlus().size()) == QLatin1Char('+'))) {
            items.append(NumPlus());
            start += NumPlus().size() + 1;
            continue;
        }
        int end = text.indexOf(QLatin1Char('+'), start);
        if (end < 0)
            end = text.size();
        if (end > start)
            items.append(text.mid(start, end - start));
        start = end + 1;
    }
    return items;
}
