// The key names of macro rows and their codes in files and device blocks.
#include "core/DeviceEvent.h"
#include "core/SharedState.h"
#include "dialogs/MacroKeyCodes.h"

#include <QtTest>

namespace {
const QStringList EnglishMouseNames = {"Left Click", "Right Click", "Middle Click", "Forward", "Back"};

void SetMouseNames(const QStringList& names)
{
    for (int i = 0; i < MouseButtonCount; ++i)
        MouseButtonNames[i] = names.value(i);
}
} // namespace

class MacroCodesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { SetMouseNames(EnglishMouseNames); }
    void cleanupTestCase() { SetMouseNames({}); }

    // 95 keyboard names, the empty name and 8 modifiers, none twice, none
    // holding "ms" (the delay rows' mark).
    void vocabulary()
    {
        const QVector<MacroKeyCodes::Entry>& entries = MacroKeyCodes::Entries();
        int keys = 0, modifiers = 0, empty = 0;
        QSet<QString> names;
        for (const MacroKeyCodes::Entry& entry : entries) {
            names.insert(entry.name);
            QVERIFY2(!entry.name.contains(QLatin1String("ms")), qPrintable(entry.name));
            if (entry.name.isEmpty())
                ++empty;
            else if (entry.kind == MacroKeyCodes::Key)
                ++keys;
            else if (entry.kind == MacroKeyCodes::Modifier)
                ++modifiers;
        }
        QCOMPARE(keys, 95);
        QCOMPARE(empty, 1);
        QCOMPARE(modifiers, 8);
        QCOMPARE(names.size(), entries.size());
    }

    // Every name of the vocabulary goes to its file code and back.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("kind");
        for (const MacroKeyCodes::Entry& entry : MacroKeyCodes::Entries()) {
            QTest::addRow("%s (%d)", qPrintable(entry.name), entry.kind)
                << entry.name << MacroKeyCodes::CodeText(entry.code) << entry.kind;
        }
        const int bits[] = {0x01, 0x02, 0x04, 0x10, 0x08};
        for (int i = 0; i < MouseButtonCount; ++i) {
            QTest::addRow("%s", qPrintable(EnglishMouseNames.at(i)))
                << EnglishMouseNames.at(i) << MacroKeyCodes::CodeText(bits[i]) << 4;
        }
    }

    void roundTrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QFETCH(int, kind);
        const QStringList converted = MacroKeyCodes::KeyCodeFromName(name);
        QCOMPARE(converted, (QStringList{code, QString::number(kind)}));
        QCOMPARE(KeyNameFromHidCode(converted.at(0), converted.at(1).toInt()), name);
    }

    void keyCodeFromName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("code");
        QTest::newRow("empty name") << "" << QStringList{"0x00", "1"};
        QTest::newRow("RWin") << "RWin" << QStringList{"0x80", "0"};
        QTest::newRow("A") << "A" << QStringList{"0x04", "1"};
        QTest::newRow("APPs") << "APPs" << QStringList{"0x65", "1"};
        QTest::newRow("right arrow") << QString(QChar(0x2192)) << QStringList{"0x4F", "1"};
        QTest::newRow("back click") << "Back" << QStringList{"0x08", "4"};
        QTest::newRow("Ctrl without side") << "Ctrl" << QStringList{};
        QTest::newRow("lower case") << "a" << QStringList{};
        QTest::newRow("delay text") << "10ms" << QStringList{};
    }

    void keyCodeFromName()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, code);
        QCOMPARE(MacroKeyCodes::KeyCodeFromName(name), code);
    }

    void nameFromHidCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("0x20 key") << "0x20" << 1 << "3";
        QTest::newRow("0x20 modifier") << "0x20" << 0 << "RShift";
        QTest::newRow("0x10 mouse") << "0x10" << 4 << "Forward";
        QTest::newRow("0x00 key") << "0x00" << 1 << "";
        QTest::newRow("keypad Enter has no name here") << "0x58" << 1 << "";
        QTest::newRow("0x32 unnamed") << "0x32" << 1 << "";
        QTest::newRow("lower-case digits") << "0x2c" << 1 << "";
        QTest::newRow("upper-case X") << "0X2C" << 1 << "";
        QTest::newRow("one digit") << "4" << 1 << "";
        QTest::newRow("three digits") << "0x004" << 1 << "";
        QTest::newRow("other kind") << "0x04" << 2 << "";
        QTest::newRow("mouse bit 0x20") << "0x20" << 4 << "";
        QTest::newRow("modifier 0x03") << "0x03" << 0 << "";
    }

    void nameFromHidCode()
    {
        QFETCH(QString, code);
        QFETCH(int, kind);
        QFETCH(QString, name);
        QCOMPARE(KeyNameFromHidCode(code, kind), name);
    }

    void nameFromDeviceCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        const struct {
            int code;
            const char* key;
            const char* modifier;
            const char* other;
        } shared[] = {
            {0x04, "A", "LAlt", ""}, {0x08, "E", "LWin", ""}, {0x10, "M", "RCtrl", ""},
            {0x20, "3", "RShift", ""}, {0x40, "F7", "RAlt", "F7"},
        };
        for (const auto& row : shared) {
            QTest::addRow("0x%02X kind 1", row.code) << row.code << 1 << row.key;
            QTest::addRow("0x%02X kind 0", row.code) << row.code << 0 << row.modifier;
            QTest::addRow("0x%02X kind 4", row.code) << row.code << 4 << row.other;
        }
        QTest::newRow("0x01 kind 1") << 0x01 << 1 << "LCtrl";
        QTest::newRow("0x80 kind 1") << 0x80 << 1 << "RWin";
        QTest::newRow("0x02 kind 0") << 0x02 << 0 << "LShift";
        QTest::newRow("keypad Enter") << 0x58 << 1 << "Enter";
        QTest::newRow("Enter") << 0x28 << 1 << "Enter";
        QTest::newRow("0x00") << 0x00 << 1 << "";
        QTest::newRow("Space under kind 0") << 0x2C << 0 << "Space";
        QTest::newRow("unnamed 0x32") << 0x32 << 1 << "";
        QTest::newRow("beyond the table") << 0xE0 << 1 << "";
    }

    void nameFromDeviceCode()
    {
        QFETCH(int, code);
        QFETCH(int, kind);
        QFETCH(QString, name);
        QCOMPARE(MacroKeyCodes::NameFromDeviceCode(code, kind), name);
    }

    void mouseNameFromMask()
    {
        QCOMPARE(MacroKeyCodes::MouseNameFromMask(1), QStringLiteral("Left Click"));
        QCOMPARE(MacroKeyCodes::MouseNameFromMask(8), QStringLiteral("Back"));
        QCOMPARE(MacroKeyCodes::MouseNameFromMask(16), QStringLiteral("Forward"));
        QCOMPARE(MacroKeyCodes::MouseNameFromMask(3), QString());
        QCOMPARE(MacroKeyCodes::MouseNameFromMask(0), QString());
    }

    // Which name wins when a mouse text equals another name.
    void precedence_data()
    {
        QTest::addColumn<QStringList>("mouseNames");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("code");
        QTest::newRow("mouse text equal to a key")
            << QStringList{"A", "R", "M", "F", "B"} << "A" << QStringList{"0x04", "1"};
        QTest::newRow("mouse text equal to a modifier")
            << QStringList{"LCtrl", "R", "M", "F", "B"} << "LCtrl" << QStringList{"0x01", "0"};
        QTest::newRow("mouse text equal to F1")
            << QStringList{"F1", "R", "M", "F", "B"} << "F1" << QStringList{"0x01", "4"};
        QTest::newRow("no language loaded") << QStringList{} << "" << QStringList{"0x00", "1"};
        QTest::newRow("back before forward")
            << QStringList{"L", "R", "M", "Same", "Same"} << "Same" << QStringList{"0x08", "4"};
    }

    void precedence()
    {
        QFETCH(QStringList, mouseNames);
        QFETCH(QString, name);
        QFETCH(QStringList, code);
        SetMouseNames(mouseNames);
        QCOMPARE(MacroKeyCodes::KeyCodeFromName(name), code);
    }

    // An event gets kind and code from a name; an unknown name gives kind 1
    // and keeps the code.
    void fillDeviceEvent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        QTest::newRow("key") << "Z" << 1 << 0x1D;
        QTest::newRow("modifier") << "RAlt" << 0 << 0x40;
        QTest::newRow("mouse") << "Middle Click" << 4 << 0x04;
        QTest::newRow("empty name") << "" << 1 << 0x00;
        QTest::newRow("unknown name keeps the code") << "Ctrl" << 1 << 0x77;
    }

    void fillDeviceEvent()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(int, code);
        DeviceEvent event;
        event.kind = 9;
        event.code = 0x77;
        event.release = 1;
        event.delay = 5;
        MacroKeyCodes::FillDeviceEvent(name, &event);
        QCOMPARE(int(event.kind), kind);
        QCOMPARE(int(event.code), code);
        QCOMPARE(int(event.release), 1);
        QCOMPARE(quint32(event.delay), 5u);
    }
};

QTEST_GUILESS_MAIN(MacroCodesTest)
#include "test_macro_codes.moc"
