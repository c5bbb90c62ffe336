// The key names the key entry dialogs show and hand on.
#include "dialogs/KeyNames.h"

#include <QtTest>

class KeyNamesTest : public QObject {
    Q_OBJECT

private slots:
    void names_data()
    {
        QTest::addColumn<int>("vk");
        QTest::addColumn<QString>("full");
        QTest::addColumn<QString>("combination");
        const QString none;
        QTest::newRow("A") << 0x41 << "A" << "A";
        QTest::newRow("Z") << 0x5A << "Z" << "Z";
        QTest::newRow("0") << 0x30 << "0" << "0";
        QTest::newRow("keypad 1") << 0x61 << "Num1" << "Num1";
        QTest::newRow("F10") << 0x79 << "F10" << "F10";
        QTest::newRow("F12") << 0x7B << "F12" << "F12";
        QTest::newRow("F13") << 0x7C << none << none;
        QTest::newRow("left arrow") << 0x25 << QString(QChar(0x2190)) << QString(QChar(0x2190));
        QTest::newRow("down arrow") << 0x28 << QString(QChar(0x2193)) << QString(QChar(0x2193));
        QTest::newRow("grave") << 0xC0 << "`" << "`";
        QTest::newRow("backslash") << 0xDC << "\\" << "\\";
        QTest::newRow("apostrophe") << 0xDE << "'" << "'";
        QTest::newRow("Print Screen") << 0x2C << "Screen" << "Screen";
        QTest::newRow("menu key") << 0x5D << "APPs" << "APPs";
        QTest::newRow("keypad +") << 0x6B << "Num+" << "Num+";
        QTest::newRow("Escape") << 0x1B << "Esc" << "Esc";
        QTest::newRow("left Shift") << 0xA0 << "LShift" << none;
        QTest::newRow("right Shift") << 0xA1 << "RShift" << none;
        QTest::newRow("left Ctrl") << 0xA2 << "LCtrl" << none;
        QTest::newRow("right Ctrl") << 0xA3 << "RCtrl" << none;
        QTest::newRow("left Alt") << 0xA4 << "LAlt" << none;
        QTest::newRow("left Win") << 0x5B << "LWin" << none;
        QTest::newRow("right Win") << 0x5C << "RWin" << none;
        QTest::newRow("right Alt") << 0xA5 << none << none;
        QTest::newRow("space") << 0x20 << none << none;
        QTest::newRow("generic Shift") << 0x10 << none << none;
        QTest::newRow("generic Alt") << 0x12 << none << none;
        QTest::newRow("Clear") << 0x0C << none << none;
        QTest::newRow("keypad separator") << 0x6C << none << none;
        QTest::newRow("volume up") << 0xAF << none << none;
        QTest::newRow("above the table") << 0xE2 << none << none;
        QTest::newRow("negative") << -1 << none << none;
    }

    void names()
    {
        QFETCH(int, vk);
        QFETCH(QString, full);
        QFETCH(QString, combination);
        QCOMPARE(KeyNames::Name(vk, KeyNames::Full), full);
        QCOMPARE(KeyNames::Name(vk, KeyNames::Combination), combination);
    }

    // 101 names in the full table, 94 in the combination table, all different,
    // and a key named in both has one name.
    void tables()
    {
        QSet<QString> full, combination;
        int fullCount = 0, combinationCount = 0;
        for (int vk = 0; vk < 0x200; ++vk) {
            const QString f = KeyNames::Name(vk, KeyNames::Full);
            const QString c = KeyNames::Name(vk, KeyNames::Combination);
            fullCount += !f.isEmpty();
            combinationCount += !c.isEmpty();
            full.insert(f);
            combination.insert(c);
            if (!c.isEmpty())
                QCOMPARE(c, f);
        }
        QCOMPARE(fullCount, 101);
        QCOMPARE(combinationCount, 94);
        QCOMPARE(full.size(), 101 + 1); // + the empty name
        QCOMPARE(combination.size(), 94 + 1);
    }

    // The recorder's table: the full one with Space, right Alt and Clear,
    // which is known with an empty name.
    void recorderNames_data()
    {
        QTest::addColumn<int>("vk");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << 0x41 << true << "A";
        QTest::newRow("space") << 0x20 << true << "Space";
        QTest::newRow("right Alt") << 0xA5 << true << "RAlt";
        QTest::newRow("Clear") << 0x0C << true << "";
        QTest::newRow("left Win") << 0x5B << true << "LWin";
        QTest::newRow("generic Shift") << 0x10 << false << "";
        QTest::newRow("volume up") << 0xAF << false << "";
    }

    void recorderNames()
    {
        QFETCH(int, vk);
        QFETCH(bool, known);
        QFETCH(QString, name);
        QCOMPARE(KeyNames::Known(vk, KeyNames::Recorder), known);
        QCOMPARE(KeyNames::Name(vk, KeyNames::Recorder), name);
        if (known && !name.isEmpty() && !KeyNames::Name(vk, KeyNames::Full).isEmpty())
            QCOMPARE(KeyNames::Name(vk, KeyNames::Full), name);
        int recorderCount = 0;
        for (int key = 0; key < 0x200; ++key)
            recorderCount += KeyNames::Known(key, KeyNames::Recorder);
        QCOMPARE(recorderCount, 101 + 3);
    }

    void splitCombination_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("one") << "A" << QStringList{"A"};
        QTest::newRow("three") << "Ctrl+Alt+Del" << QStringList{"Ctrl", "Alt", "Del"};
        QTest::newRow("F1 after F10") << "F10+F1" << QStringList{"F10", "F1"};
        QTest::newRow("keypad + alone") << "Num+" << QStringList{"Num+"};
        QTest::newRow("keypad + first") << "Num++A" << QStringList{"Num+", "A"};
        QTest::newRow("keypad + in the middle") << "Ctrl+Num++A" << QStringList{"Ctrl", "Num+", "A"};
        QTest::newRow("keypad + last") << "Shift+Num+" << QStringList{"Shift", "Num+"};
        QTest::newRow("other keypad keys") << "Num1+Num-" << QStringList{"Num1", "Num-"};
        QTest::newRow("pasted text") << "ABC" << QStringList{"ABC"};
        QTest::newRow("empty items") << "A++B+" << QStringList{"A", "B"};
    }

    void splitCombination()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QCOMPARE(KeyNames::SplitCombination(text), items);
    }
};

QTEST_APPLESS_MAIN(KeyNamesTest)
#include "test_key_names.moc"
