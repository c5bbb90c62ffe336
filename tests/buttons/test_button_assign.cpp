// The button page shows what each mouse button does, opens the function list
// on a row's current function and stores the function chosen, on the
// simulated mouse.
#include "tests/buttons/ButtonPageTesting.h"

#include "core/ButtonRecords.h"
#include "core/MacroIni.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "platform/UserDataFolder.h"
#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>

#include <sys/stat.h>

using namespace ButtonPageTesting;

namespace {
// An image whose button 0 holds the function and, for key records, the
// first events given as (flag, kind, code).
FlashDataMap ImageWith(int type, int value1, int value2, int count = 0,
                       const QVector<std::array<int, 3>>& events = {})
{
    FlashDataMap image;
    image.buttons[0] = ButtonFunction{quint8(type), quint8(value1), quint8(value2)};
    image.keys[0].count = quint8(count);
    for (int i = 0; i < events.size(); ++i) {
        image.keys[0].events[i].release = quint8(events.at(i)[0]);
        image.keys[0].events[i].kind = quint8(events.at(i)[1]);
        image.keys[0].events[i].code = quint16(events.at(i)[2]);
    }
    return image;
}

QString FileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
}

// An image whose button 0 carries a macro: the name field's bytes and its
// length byte (the bytes' count when none is given).
FlashDataMap MacroImage(const QByteArray& name, int repeat, int length = -1)
{
    FlashDataMap image = ImageWith(6, 0, repeat);
    memcpy(image.macros[0].name, name.constData(), size_t(qMin(name.size(), MacroBlock::MaxNameLength)));
    image.macros[0].nameLength = quint8(length < 0 ? name.size() : length);
    return image;
}

// Every file below a folder with its content.
QStringList Tree(const QString& root)
{
    QStringList tree;
    QDirIterator files(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        tree << QDir(root).relativeFilePath(path) + QStringLiteral(": ") + FileContent(path);
    }
    tree.sort();
    return tree;
}

// The file's inode: a file replaced whole gets a new one (0: no file).
ino_t Inode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QStringList MacroFiles()
{
    return QDir(MacroFile::Folder()).entryList(QDir::Files | QDir::Hidden);
}

// A label's text as a widget's text ("=Name") or a literal text.
QString Expected(Buttoninterface& page, const QString& spec)
{
    if (!spec.startsWith(QLatin1Char('=')))
        return spec;
    const QStringList parts = spec.mid(1).split(QLatin1Char('+'));
    QString text = Child(page, qPrintable(parts.at(0)))->text();
    return parts.size() > 1 ? text + parts.at(1) : text;
}
} // namespace

class ButtonAssignTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The program's waits (the pick's among them), twenty times faster.
        Timing::SetScale(0.05);
    }

    // The label text of each function, from an image.
    void display_data()
    {
        QTest::addColumn<FlashDataMap>("image");
        QTest::addColumn<QString>("label");   // "=Widget" its text, "=DPI_4+-400" with a suffix
        const QString same = QStringLiteral("unchanged");
        QTest::newRow("0: no function") << ImageWith(0, 0, 0) << "=DPI_5";
        QTest::newRow("1: left") << ImageWith(1, 1, 0) << "=LeftKey_3";
        QTest::newRow("1: forward") << ImageWith(1, 16, 0) << "=ForWardKey";
        QTest::newRow("1: 32 is no click") << ImageWith(1, 32, 0) << same;
        QTest::newRow("2: DPI down") << ImageWith(2, 3, 0) << "=VolumeUp_10";
        QTest::newRow("3: scroll right") << ImageWith(3, 2, 0) << "=VolumeDown_2";
        QTest::newRow("4: fire key") << ImageWith(4, 10, 3) << "=DPI_6";
        QTest::newRow("7: report rate") << ImageWith(7, 0, 0) << "=DPI_2";
        QTest::newRow("8: light bar") << ImageWith(8, 3, 0) << "=VolumeUp_6";
        QTest::newRow("8: 2 is no light") << ImageWith(8, 2, 0) << same;
        QTest::newRow("9: profile") << ImageWith(9, 0, 0) << "=DPI_3";
        QTest::newRow("10: lock, no table: 400") << ImageWith(10, 7, 0) << "=DPI_4+-400";
        QTest::newRow("11: scroll up") << ImageWith(11, 1, 0) << "=VolumeUp_14";
        QTest::newRow("12: unknown") << ImageWith(12, 1, 0) << same;
        QTest::newRow("5: Ctrl+A") << ImageWith(5, 0, 0, 4, {{0, 0, 0x01}, {0, 1, 0x04}}) << "Ctrl+A";
        QTest::newRow("5: Shift+Ctrl+Z") << ImageWith(5, 0, 0, 6, {{0, 0, 0x02}, {0, 0, 0x01}, {0, 1, 0x1D}})
                                         << "Shift+Ctrl+Z";
        QTest::newRow("5: count 1") << ImageWith(5, 0, 0, 1, {{0, 1, 0x04}}) << "";
        QTest::newRow("5: consumer play/pause") << ImageWith(5, 0, 0, 2, {{0, 2, 0x00CD}}) << "=StartPause_2";
        QTest::newRow("5: consumer by low byte") << ImageWith(5, 0, 0, 2, {{0, 2, 0x0123}}) << "=VolumeDown_8";
        QTest::newRow("5: consumer not listed") << ImageWith(5, 0, 0, 2, {{0, 2, 0x0045}}) << same;
    }

    void display()
    {
        QFETCH(FlashDataMap, image);
        QFETCH(QString, label);
        Session session;
        Buttoninterface& page = *session.page;
        page.SlotFormResetButton();
        page.LabelOf(0)->setText(QStringLiteral("unchanged"));
        const ButtonFunction f = image.buttons[0];
        page.ShowButtonFunction(0, f.type, f.value1, f.value2, image);
        QCOMPARE(page.LabelOf(0)->text(), Expected(page, label));
    }

    // The DPI of a lock index by the sensor's register table.
    void lockDisplay_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QVector<int>>("values");
        QTest::addColumn<QString>("dpi");
        QTest::newRow("entry of the value") << QStringList{"SENSOR_3395_DPI_400", "SENSOR_3395_DPI_800"}
                                            << QVector<int>{3, 7} << "800";
        QTest::newRow("table without the value") << QStringList{"SENSOR_3395_DPI_400"} << QVector<int>{3} << "0";
        QTest::newRow("another sensor's table") << QStringList{"SENSOR_3950_DPI_800"} << QVector<int>{7} << "400";
        QTest::newRow("entry of a DPI no stage holds")
            << QStringList{"SENSOR_3395_DPI_400", "SENSOR_3395_DPI_2147483647"} << QVector<int>{3, 7} << "0";
    }

    void lockDisplay()
    {
        QFETCH(QStringList, names);
        QFETCH(QVector<int>, values);
        QFETCH(QString, dpi);
        Session session;
        Buttoninterface& page = *session.page;
        page.SensorModel = QStringLiteral("3395");
        page.DefineNames = names;
        page.DefineValues = values;
        page.ShowButtonFunction(0, 10, 7, 0, FlashDataMap());
        QCOMPARE(page.LabelOf(0)->text(), Child(page, "DPI_4")->text() + "-" + dpi);
    }

    void keyNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        const QList<std::tuple<int, const char*, const char*>> shared{
            {0x04, "A", "Alt"}, {0x08, "E", "Win"}, {0x10, "M", "Ctrl"}, {0x20, "3", "Shift"}, {0x40, "F7", "Alt"}};
        for (const auto& entry : shared) {
            const int code = std::get<0>(entry);
            QTest::addRow("0x%02X key", code) << code << 1 << std::get<1>(entry);
            QTest::addRow("0x%02X modifier", code) << code << 0 << std::get<2>(entry);
            QTest::addRow("0x%02X consumer", code) << code << 2 << "";
        }
        QTest::newRow("keypad 3") << 0x5B << 1 << "Num3";
        QTest::newRow("keypad Enter") << 0x58 << 1 << "Enter";
        QTest::newRow("0x32 has no name") << 0x32 << 1 << "";
        QTest::newRow("right Win bit") << 0x80 << 0 << "Win";
        QTest::newRow("Ctrl bit as a key") << 0x01 << 1 << "Ctrl";
        QTest::newRow("APPs") << 0x65 << 1 << "APPs";
        QTest::newRow("0x66 has no name") << 0x66 << 1 << "";
    }

    void keyNames()
    {
        QFETCH(int, code);
        QFETCH(int, kind);
        QFETCH(QString, name);
        QCOMPARE(Buttoninterface::KeyNameFromDeviceCode(code, kind), name);
    }

    // A macro's name from the device: the bytes its length byte counts, up to
    // a zero byte. It becomes a file only when it is a sound file name, and
    // then no file outside the macro folder changes; the label shows it
    // either way.
    void macroNames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        const QString chinese(10, QChar(0x5B8F));
        QTest::newRow("abc") << QByteArray("abc") << 3 << "abc" << true;
        QTest::newRow("length shorter than the bytes") << QByteArray("abcdef") << 3 << "abc" << true;
        QTest::newRow("zero byte inside") << QByteArray("ab\0cd", 5) << 5 << "ab" << true;
        QTest::newRow("length above the field") << QByteArray(30, 'a') << 200 << QString(30, 'a') << true;
        QTest::newRow("10 Chinese characters") << chinese.toUtf8() << 30 << chinese << true;
        QTest::newRow("length 0") << QByteArray("abc") << 0 << "" << false;
        QTest::newRow("empty") << QByteArray() << 0 << "" << false;
        QTest::newRow("parent folder") << QByteArray("../x") << 4 << "../x" << false;
        QTest::newRow("parent of parent") << QByteArray("../../y") << 7 << "../../y" << false;
        QTest::newRow("sub-folder") << QByteArray("a/b") << 3 << "a/b" << false;
        QTest::newRow("dot") << QByteArray(".") << 1 << "." << false;
    }

    void macroNames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, length);
        QFETCH(QString, name);
        QFETCH(bool, taken);
        Session session;
        Buttoninterface& page = *session.page;
        QSignalSpy handed(PostMsg::Instance(), &PostMsg::SigButtonToMacro);
        // The folders around the macro folder, up to the user's data folder.
        const QString around = QFileInfo(UserDataFolder()).absolutePath();
        QVERIFY(MacroIni::Instance()->Flush());
        QStringList before = Tree(around);
        const FlashDataMap image = MacroImage(bytes, 1, length);
        page.ShowButtonFunction(0, 6, 0, 1, image);
        QCOMPARE(page.LabelOf(0)->text(), page.MacroPrefix + name);
        QCOMPARE(handed.count(), taken ? 1 : 0);
        QCOMPARE(MacroFiles(), taken ? QStringList{name + ".ini"} : QStringList());
        if (taken) {
            QCOMPARE(FileContent(MacroFile::PathOf(name)), QStringLiteral("1\n"));
            before << QDir(around).relativeFilePath(MacroFile::PathOf(name)) + QStringLiteral(": 1\n");
            before.sort();
        }
        QCOMPARE(Tree(around), before);
    }

    // The refresh slots, the reset and the configuration list.
    void refreshFlags()
    {
        Session session;
        Buttoninterface& page = *session.page;
        QSignalSpy light(PostMsg::Instance(), &PostMsg::SigLightToFrom);
        QSignalSpy picture(PostMsg::Instance(), &PostMsg::SigMouseIndex);
        FlashDataMap image = ImageWith(1, 2, 0);
        image.lightOffTime = 9;
        ButtonPageFilled = false;
        page.SlotUpDataButtonUIB(image);
        QVERIFY(!ButtonPageFilled);
        page.SlotUpDataButtonUIButton(image);
        QVERIFY(ButtonPageFilled);
        QVERIFY(!ButtonPageLoading);
        QCOMPARE(page.ButtonTypes.size(), 6);
        QCOMPARE(page.LabelOf(0)->text(), Child(page, "RightKey_3")->text());
        QCOMPARE(light.count(), 2);
        QCOMPARE(light.at(0).at(0).toInt(), 90);

        page.SlotFormResetButton();
        QCOMPARE(page.ButtonTypes, (QVector<int>{1, 1, 1, 1, 1, 2}));
        QCOMPARE(page.ButtonValue1, (QVector<int>{1, 2, 4, 8, 16, 1}));
        QCOMPARE(page.ButtonValue2, (QVector<int>{0, 0, 0, 0, 0, 0}));
        QCOMPARE(page.LabelOf(0)->text(), Child(page, "RightKey_3")->text());
        QCOMPARE(Child<DebounceTime>(page, "DebunceButton")->Value(), 8);
        QCOMPARE(light.last().at(0).toInt(), 60);
        QCOMPARE(picture.count(), 1);
        QCOMPARE(picture.at(0).at(0).toInt(), 0);

        // A model without "KeyNumber": an empty mirror, no label changes.
        CurrentDevice.update([](DeviceAllInfo& device) { device.modelIndex = 7; });
        page.SlotUpDataButtonUIB(ImageWith(1, 4, 0));
        QVERIFY(page.ButtonTypes.isEmpty());
        QCOMPARE(page.LabelOf(0)->text(), Child(page, "RightKey_3")->text());
        page.LabelOf(0)->click();
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page"));
    }

    void configurations_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("selected");
        QTest::newRow("three, the second") << 3 << 1 << true << QStringList{"Profile 1", "Profile 2", "Profile 3"} << 1;
        QTest::newRow("none: one entry, disabled") << 0 << 2 << false << QStringList{"Profile 1"} << 0;
        QTest::newRow("negative: empty") << -1 << 0 << true << QStringList() << -1;
    }

    void configurations()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(bool, enabled);
        QFETCH(QStringList, entries);
        QFETCH(int, selected);
        Session session;
        auto* combo = Child<QComboBox>(*session.page, "ProjectChoose");
        session.page->SlotUpDataConfigUI(count, current, enabled);
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        QCOMPARE(texts, entries);
        QCOMPARE(combo->currentIndex(), selected);
        QCOMPARE(combo->isEnabled(), enabled);
    }

    // A click on a row opens the list on its function.
    void choosing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<FlashDataMap>("image");   // button 0's function goes to the row's button
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("listChecked");
        QTest::addColumn<QString>("panelChecked");
        QTest::addColumn<QString>("area");          // the scroll area checked, and its position
        QTest::addColumn<int>("position");
        QTest::newRow("right click") << 1 << ImageWith(1, 2, 0) << "page_9" << "RightKey_3" << "" << "scrollArea_4"
                                     << 15;
        QTest::newRow("light bar") << 2 << ImageWith(8, 3, 0) << "page_6" << "DPI_9" << "VolumeUp_6"
                                   << "scrollArea_4" << 180;
        QTest::newRow("next light effect") << 2 << ImageWith(8, 4, 0) << "page_6" << "DPI_9" << "VolumeUp_7"
                                           << "scrollArea_4" << 180;
        QTest::newRow("DPI up") << 5 << ImageWith(2, 2, 0) << "page_7" << "DPI_7" << "VolumeUp_9" << "scrollArea_4"
                                << 195;
        QTest::newRow("volume down") << 3 << ImageWith(5, 0, 0, 2, {{0, 2, 0xEA}}) << "page_3" << "DPI_12"
                                     << "VolumeDown_4" << "scrollArea_3" << 105;
        QTest::newRow("browser back, third row") << 2 << ImageWith(5, 0, 0, 2, {{0, 2, 0x224}}) << "page_3"
                                                 << "DPI_12" << "VolumeDown_10" << "scrollArea_3" << 195;
        QTest::newRow("browser back, second row swapped") << 1 << ImageWith(5, 0, 0, 2, {{0, 2, 0x224}}) << "page_3"
                                                          << "DPI_12" << "VolumeDown_10" << "scrollArea_3" << 210;
        QTest::newRow("browser forward, second row swapped") << 1 << ImageWith(5, 0, 0, 2, {{0, 2, 0x225}})
                                                             << "page_3" << "DPI_12" << "VolumeDown_7"
                                                             << "scrollArea_3" << 195;
        QTest::newRow("combination") << 4 << ImageWith(5, 0, 0, 4, {{0, 0, 0x01}, {0, 1, 0x04}}) << "page_9"
                                     << "DPI_8" << "" << "scrollArea_4" << 120;
        QTest::newRow("combination starting with key 4") << 4 << ImageWith(5, 0, 0, 2, {{0, 1, 0x21}}) << "page_9"
                                                         << "DPI_8" << "" << "scrollArea_3" << 0;
        QTest::newRow("DPI lock 400") << 3 << ImageWith(10, 7, 0) << "page_8" << "DPI_4" << "VolumeUp_16"
                                      << "scrollArea_10" << 45;
        QTest::newRow("fire key") << 5 << ImageWith(4, 20, 1) << "page_9" << "DPI_6" << "" << "scrollArea_4" << 105;
        QTest::newRow("vertical scroll down") << 1 << ImageWith(11, 2, 0) << "page_10" << "DPI_13" << "VolumeDown_14"
                                              << "scrollArea_4" << 150;
    }

    void choosing()
    {
        QFETCH(int, row);
        QFETCH(FlashDataMap, image);
        QFETCH(QString, panel);
        QFETCH(QString, listChecked);
        QFETCH(QString, panelChecked);
        QFETCH(QString, area);
        QFETCH(int, position);
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.show();
        QToolButton* label = Child(page, std::array<const char*, 6>{"FireKey", "RightKey", "BackKey", "StartPause",
                                                                    "TopMusic", "BackMusic"}[row]);
        const int button = page.DeviceButtonOf(label);
        const FlashDataMap live = LiveFlashData.update([&](FlashDataMap& current) {
            current.buttons[button] = image.buttons[0];
            current.keys[button] = image.keys[0];
            return current;
        });
        page.SlotUpDataButtonUIB(live);
        label->click();
        QVERIFY(label->isChecked());
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page_2"));
        QCOMPARE(Current(page, "stackedWidget_2"), panel);
        QVERIFY(Child(page, qPrintable(listChecked))->isChecked());
        if (!panelChecked.isEmpty())
            QVERIFY(Child(page, qPrintable(panelChecked))->isChecked());
        QScrollBar* bar = Child<QScrollArea>(page, qPrintable(area))->verticalScrollBar();
        QCOMPARE(bar->value(), qMin(position, bar->maximum()));
        QVERIFY(position <= bar->maximum());
    }

    // The only row with the left click is not opened; with two, both are.
    void leftClickGuard()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        {
            ModalAnswer answer = ModalAnswer::Click(QStringLiteral("CloseButton"));
            page.LabelOf(0)->click();
            QCOMPARE(answer.DialogClass(), QStringLiteral("LeftButtonOnly"));
        }
        for (int row = 0; row < 6; ++row)
            QVERIFY(!page.LabelOf(row)->isChecked());
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page"));

        page.LabelOf(1)->click();
        Child(page, "LeftKey_3")->click();
        QCOMPARE(page.LabelOf(1)->text(), Child(page, "LeftKey_3")->text());
        page.LabelOf(0)->click();
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page_2"));
        QVERIFY(Child(page, "LeftKey_3")->isChecked());
    }

    // What a row holds decides, not the caption it shows: a consumer key the
    // page has no name for leaves the row's caption as it was, here the left
    // click's or the fire key's.
    void captionsDoNotDecide_data()
    {
        QTest::addColumn<FlashDataMap>("before");   // button 1's function shown first
        QTest::newRow("left click caption") << ImageWith(1, 1, 0);
        QTest::newRow("fire key caption") << ImageWith(4, 99, 1);
    }

    void captionsDoNotDecide()
    {
        QFETCH(FlashDataMap, before);
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        const auto show = [&](const FlashDataMap& image) {
            page.SlotUpDataButtonUIB(LiveFlashData.update([&](FlashDataMap& current) {
                current.buttons[1] = image.buttons[0];
                current.keys[1] = image.keys[0];
                return current;
            }));
        };
        show(before);
        const QString caption = page.LabelOf(1)->text();
        show(ImageWith(5, 0, 0, 2, {{0, 2, 0x0101}}));
        QCOMPARE(page.LabelOf(1)->text(), caption);
        QCOMPARE(page.ButtonTypes.at(1), 5);

        // Button 0 holds the only left click.
        {
            ModalAnswer answer = ModalAnswer::Click(QStringLiteral("CloseButton"));
            page.LabelOf(0)->click();
            QCOMPARE(answer.DialogClass(), QStringLiteral("LeftButtonOnly"));
        }
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page"));

        // Button 1 holds no fire key: the dialog starts from the defaults.
        page.LabelOf(1)->click();
        QVector<int> shown;
        ModalAnswer answer([&](QWidget* fire) {
            shown = {fire->findChild<QSpinBox*>(QStringLiteral("Time"))->value(),
                     fire->findChild<QSpinBox*>(QStringLiteral("Count"))->value()};
            fire->findChild<QAbstractButton*>(QStringLiteral("NewHong_2"))->click();
        });
        QTest::mousePress(Child(page, "DPI_6"), Qt::LeftButton);
        QCOMPARE(shown, (QVector<int>{10, 3}));
        QCOMPARE(session.mouse.Writes(), 0);
    }

    // Every function button stores its function on the checked row's device
    // button (rows 4 and 5 edit buttons 4 and 3) and names it on the row.
    void assigning()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        struct Case {
            const char* button;
            int type;
            int value1;
            int value2;
            const char* label;   // "" the button's own text
        };
        QVector<Case> cases{
            {"LeftKey_3", 1, 1, 0, ""},    {"RightKey_3", 1, 2, 0, ""},  {"MidKey", 1, 4, 0, ""},
            {"BackKey_2", 1, 8, 0, ""},    {"ForWardKey", 1, 16, 0, ""}, {"DPI_2", 7, 0, 0, ""},
            {"DPI_3", 9, 0, 0, ""},        {"DPI_5", 0, 0, 0, ""},       {"VolumeUp_8", 2, 1, 0, ""},
            {"VolumeUp_9", 2, 2, 0, ""},   {"VolumeUp_10", 2, 3, 0, ""}, {"VolumeUp_2", 3, 1, 0, ""},
            {"VolumeDown_2", 3, 2, 0, ""}, {"VolumeUp_14", 11, 1, 0, ""}, {"VolumeDown_14", 11, 2, 0, ""},
            {"VolumeUp_4", 8, 0, 0, ""},   {"VolumeUp_5", 8, 1, 0, ""},  {"VolumeUp_6", 8, 3, 0, ""},
            {"VolumeUp_7", 8, 4, 0, ""},
        };
        // DPI lock on a sensor without a table: the register is DPI / 50 - 1.
        const char* locks[] = {"VolumeUp_11", "VolumeUp_12", "VolumeUp_13", "VolumeUp_16", "VolumeUp_15", "VolumeUp_19",
                               "VolumeUp_20", "VolumeUp_22", "VolumeUp_18", "VolumeUp_24", "VolumeUp_23", "VolumeUp_21"};
        for (int i = 0; i < 12; ++i)
            cases.append({locks[i], 10, 2 * (i + 1) - 1, 0, "lock"});
        // Each consumer key with the usage its record holds.
        const QVector<QPair<const char*, int>> media{
            {"Player", 0x0183},        {"StartPause_2", 0x00CD},  {"BackMusic_2", 0x00B5},
            {"TopMusic_2", 0x00B6},    {"Mute", 0x00B7},          {"VolumeUp", 0x00E2},
            {"VolumeDown", 0x00E9},    {"VolumeDown_4", 0x00EA},  {"VolumeDown_5", 0x018A},
            {"VolumeDown_6", 0x0192},  {"VolumeDown_3", 0x0194},  {"VolumeDown_8", 0x0223},
            {"VolumeDown_9", 0x0221},  {"VolumeDown_10", 0x0224}, {"VolumeDown_7", 0x0225},
            {"VolumeDown_12", 0x0226}, {"VolumeDown_13", 0x0227}, {"VolumeDown_11", 0x022A}};
        for (const auto& key : media)
            cases.append({key.first, 5, 0, 0, "media"});

        const int rowButtons[] = {0, 1, 2, 4, 3, 5};
        for (int i = 0; i < cases.size(); ++i) {
            const Case& c = cases.at(i);
            const int row = i % 6;
            const int button = rowButtons[row];
            page.LabelOf(button)->setChecked(true);
            QToolButton* function = Child(page, c.button);
            const int writes = session.mouse.Writes();
            function->click();
            const FlashDataMap stored = session.mouse.Stored();
            QVERIFY2(session.mouse.Writes() == writes + 1, c.button);
            QCOMPARE(FunctionHex(stored, button),
                     Hex(std::array<quint8, 3>{quint8(c.type), quint8(c.value1), quint8(c.value2)}.data(), 3));
            QString text = function->text();
            if (QLatin1String(c.label) == QLatin1String("lock"))
                text = Child(page, "DPI_4")->text() + "-" + function->text();
            if (QLatin1String(c.label) == QLatin1String("media")) {
                QCOMPARE(KeyRecordHex(stored, button),
                         KeyRecordHex([&] {
                             FlashDataMap expected;
                             expected.keys[button] = ButtonRecords::ConsumerKeyRecord(media.at(i - 31).second);
                             return expected;
                         }(), button));
            }
            QCOMPARE(page.LabelOf(button)->text(), text);
            QCOMPARE(page.ButtonTypes.at(button), c.type);
            QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page"));
            QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_9"));
        }
    }

    // A DPI lock on a sensor whose register table has no entry for the DPI
    // stores nothing; one with an entry stores that register.
    void lockWithoutRegister()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.DefineNames = QStringList{"SENSOR_3395_DPI_400"};
        page.DefineValues = QVector<int>{7};
        QCOMPARE(page.DpiIndexFromValue(1100), 22);
        QCOMPARE(page.DpiIndexFromValue(400), 7);
        page.LabelOf(1)->setChecked(true);
        Child(page, "VolumeUp_11")->click();
        QCOMPARE(session.mouse.Writes(), 0);
        QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_9"));
        Child(page, "VolumeUp_16")->click();
        QCOMPARE(FunctionHex(session.mouse.Stored(), 1), QByteArray("0A0700"));
        // An entry whose register is more than a byte is none.
        page.DefineNames = QStringList{"SENSOR_3395_DPI_400", "SENSOR_3395_DPI_800"};
        page.DefineValues = QVector<int>{7, 263};
        QCOMPARE(page.DpiIndexFromValue(800), 16);
    }

    // Without a checked row nothing is stored; with the mouse off the row
    // keeps its function and the one notice comes.
    void assigningWithoutWrite()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        const QString text = page.LabelOf(1)->text();
        Child(page, "VolumeUp")->click();
        QCOMPARE(session.mouse.Writes(), 0);
        QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_9"));

        page.LabelOf(1)->setChecked(true);
        Child<QStackedWidget>(page, "stackedWidget")->setCurrentIndex(1);
        // Only the page's own notice is counted: the online check waits.
        Worker::OnlineCheckTimer()->stop();
        SimDevice_SetPower("mouse", 0);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        Child(page, "MidKey")->click();
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.at(0).at(0).toInt(), 0);
        QCOMPARE(page.LabelOf(1)->text(), text);
        QCOMPARE(page.ButtonTypes.at(1), 1);
        QCOMPARE(page.ButtonValue1.at(1), 2);
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page"));

        // The markers check their row even now.
        QTest::mouseClick(Child(page, "Number4"), Qt::LeftButton);
        QVERIFY(page.LabelOf(4)->isChecked());
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page"));
    }

    // The fire key: the dialog's presets, its answer, cancel and offline.
    void fireKey_data()
    {
        QTest::addColumn<FlashDataMap>("image");   // the row's function
        QTest::addColumn<int>("interval");         // answered; -1: cancelled
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<int>>("presets");
        QTest::addColumn<QByteArray>("stored");    // the function bytes; "" none written
        QTest::newRow("presets of another function") << ImageWith(1, 2, 0) << 40 << 2 << QVector<int>{10, 3}
                                                     << QByteArray("042802");
        QTest::newRow("the row's own values") << ImageWith(4, 99, 1) << 99 << 1 << QVector<int>{99, 1}
                                              << QByteArray("046301");
        QTest::newRow("count 0 fires while held") << ImageWith(1, 2, 0) << 10 << 0 << QVector<int>{10, 3}
                                                  << QByteArray("040A00");
        QTest::newRow("cancelled") << ImageWith(1, 2, 0) << -1 << 0 << QVector<int>{10, 3} << QByteArray();
    }

    void fireKey()
    {
        QFETCH(FlashDataMap, image);
        QFETCH(int, interval);
        QFETCH(int, count);
        QFETCH(QVector<int>, presets);
        QFETCH(QByteArray, stored);
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        const FlashDataMap live = LiveFlashData.update([&](FlashDataMap& current) {
            current.buttons[1] = image.buttons[0];
            return current;
        });
        page.SlotUpDataButtonUIB(live);
        page.LabelOf(1)->click();
        QVector<int> shown;
        ModalAnswer answer([&](QWidget* dialog) {
            auto* time = dialog->findChild<QSpinBox*>(QStringLiteral("Time"));
            auto* shots = dialog->findChild<QSpinBox*>(QStringLiteral("Count"));
            shown = {time->value(), shots->value()};
            time->setValue(interval);
            shots->setValue(count);
            dialog->findChild<QAbstractButton*>(interval < 0 ? QStringLiteral("NewHong_2") : QStringLiteral("NewHong"))
                ->click();
        });
        QTest::mousePress(Child(page, "DPI_6"), Qt::LeftButton);
        QCOMPARE(shown, presets);
        if (stored.isEmpty()) {
            QCOMPARE(session.mouse.Writes(), 0);
            QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page_2"));
            return;
        }
        QCOMPARE(FunctionHex(session.mouse.Stored(), 1), stored);
        QCOMPARE(page.LabelOf(1)->text(), Child(page, "DPI_6")->text());
        QCOMPARE(page.ButtonValue2.at(1), count);
    }

    // The fire key with the mouse off gives the offline notice, no dialog.
    void fireKeyOffline()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.LabelOf(1)->click();
        // Only the page's own notice is counted: the online check waits.
        Worker::OnlineCheckTimer()->stop();
        SimDevice_SetPower("mouse", 0);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QTest::mousePress(Child(page, "DPI_6"), Qt::LeftButton);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page"));
        QCOMPARE(session.mouse.Writes(), 0);
    }

    // A combination from the dialog is stored and the list stays open.
    void combination()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.LabelOf(2)->click();
        ModalAnswer answer([](QWidget* dialog) {
            dialog->findChild<QCheckBox*>(QStringLiteral("Ctrl"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("lineEdit"))->setText(QStringLiteral("C"));
            dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        });
        QTest::mousePress(Child(page, "DPI_8"), Qt::LeftButton);
        QCOMPARE(answer.DialogClass(), QStringLiteral("GroupKey"));
        QCOMPARE(page.LabelOf(2)->text(), QStringLiteral("Ctrl+C"));
        KeyRecord record;
        QVERIFY(ButtonRecords::ComboKeyRecord(QStringLiteral("Ctrl+C"), &record));
        QCOMPARE(KeyRecordHex(session.mouse.Stored(), 2), Hex(&record, sizeof(KeyRecord)));
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page_2"));
        QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_9"));
    }

    // A language change names every row anew; the macro row keeps its name.
    // Only texts change: the macro's file is not written again (a new file
    // under the name) and the macro page is not handed the macro again.
    void relabelled()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        const QString macro = page.LabelOf(4)->text();
        QVERIFY(macro.endsWith(QLatin1String("CopyPaste")));
        const QString file = MacroFile::PathOf(QStringLiteral("CopyPaste"));
        const QString content = FileContent(file);
        const ino_t inode = Inode(file);
        QVERIFY(inode != 0);
        QSignalSpy handed(PostMsg::Instance(), &PostMsg::SigButtonToMacro);
        page.SlotChangeLanguage(1);
        QCOMPARE(page.LabelOf(0)->text(), QStringLiteral("左键"));
        QCOMPARE(page.LabelOf(1)->text(), QStringLiteral("右键"));
        QCOMPARE(page.LabelOf(5)->text(), QStringLiteral("DPI循环"));
        QCOMPARE(page.LabelOf(4)->text(), page.MacroPrefix + QStringLiteral("CopyPaste"));
        QCOMPARE(handed.count(), 0);
        QCOMPARE(Inode(file), inode);
        QCOMPARE(FileContent(file), content);
    }

    // While the live image is not the device's (an offline device shows its
    // stored configuration), a language change names the rows from the image
    // the page showed last, not from the live image.
    void relabelledOffline()
    {
        Session session;
        Buttoninterface& page = *session.page;
        const FlashDataMap shown = session.mouse.Stored();
        page.SlotUpDataButtonUIButton(shown);
        QCOMPARE(page.LabelOf(0)->text(), QStringLiteral("Left click"));
        FlashDataMap live = shown;
        std::swap(live.buttons[0], live.buttons[1]);
        live.buttons[4] = shown.buttons[2];
        LiveFlashData.set(live);
        QVERIFY(!LiveFlashDataIsCurrent());

        page.SlotChangeLanguage(1);
        QCOMPARE(page.LabelOf(0)->text(), QStringLiteral("左键"));
        QCOMPARE(page.LabelOf(1)->text(), QStringLiteral("右键"));
        QCOMPARE(page.LabelOf(5)->text(), QStringLiteral("DPI循环"));
        QCOMPARE(page.LabelOf(4)->text(), page.MacroPrefix + QStringLiteral("CopyPaste"));
        for (int b = 0; b < page.ButtonTypes.size(); ++b)
            QCOMPARE(page.ButtonTypes.at(b), int(shown.buttons[b].type));
        QCOMPARE(session.mouse.Writes(), 0);
    }

    // The page with a row open on the multimedia functions.
    void screenshots_data()
    {
        ScreenshotLanguages();
    }

    void screenshots()
    {
        QFETCH(int, language);
        Session session(language);
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        ShowOnDarkGround(page);
        page.LabelOf(1)->setChecked(true);
        Child(page, "StartPause_2")->click();
        page.LabelOf(1)->click();
        QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_3"));
        QVERIFY(Screenshot(page, QStringLiteral("button_assign"), language));
    }
};

TALVIRE_TEST_MAIN(ButtonAssignTest)
#include "test_button_assign.moc"
