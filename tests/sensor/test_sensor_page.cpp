// The sensor page on the simulated mouse: its form, the stage count it starts
// with, its texts, how a whole image and the mouse's own reports show on it
// (without anything going back to the mouse), the defaults without a mouse,
// the sensor mode, performance switch and sleep time it writes, and its look.
#include "core/ConfigIni.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorDPI.h"
#include "pages/sensor/SensorRate.h"
#include "pages/sensor/SensorTables.h"
#include "pages/sensor/options/RippeControl.h"
#include "pages/sensor/options/SensorEffect.h"
#include "pages/sensor/options/SensorLOD.h"
#include "pages/sensor/options/StraightLine.h"
#include "platform/UserDataFolder.h"
#include "tests/common/PickedMouse.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/sensor/OpenMouse.h"
#include "widgets/MyConmboBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {
const char* const StageNames[] = {"BlueButton",  "BrightRedButton", "RedButton",      "YellowButton",
                                  "GreenButton", "PurpleButton",    "LightBlueButton", "LightYellowButton"};
const char* const RateNames[] = {"Button125HZ",  "Button250HZ",  "Button500HZ", "Button1000HZ",
                                 "Button2000HZ", "Button4000HZ", "Button8000HZ"};

template <typename Widget = QWidget>
Widget* Child(QWidget* parent, const char* name)
{
    auto* child = parent->findChild<Widget*>(QLatin1String(name));
    if (!child)
        qFatal("no child %s of %s", name, qPrintable(parent->objectName()));
    return child;
}

int Writes()
{
    return SimDevice_WriteCount("mouse");
}

DeviceAllInfo Device(int modelIndex, int linkType, bool wired)
{
    DeviceAllInfo device;
    device.modelIndex = modelIndex;
    device.linkType = quint8(linkType);
    device.wired = wired;
    device.online = true;
    return device;
}

// The stage record of a DPI on a model of DPIRange 100-10000 / 10100-26000
// (mode 0x22) without a register table, with a colour of its own.
DpiStage Stage(int dpi, int red, int green, int blue)
{
    DpiStage stage;
    stage.x = stage.y = quint8(dpi / 50 - 1);
    stage.red = quint8(red);
    stage.green = quint8(green);
    stage.blue = quint8(blue);
    return stage;
}

// One checked button of a group; -1 when none is.
int Checked(QWidget* frame, const char* const* names, int count)
{
    for (int i = 0; i < count; ++i) {
        if (Child<QAbstractButton>(frame, names[i])->isChecked())
            return i;
    }
    return -1;
}
} // namespace

class SensorPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Sensor> page;
    QTemporaryDir descriptionDir;
    std::unique_ptr<ConfigIni> descriptionStore;
    std::unique_ptr<ProductDescription> description;

    QWidget* Dpi() { return Child<SensorDPI>(page.get(), "frameDpi"); }
    QWidget* Rate() { return Child<SensorRate>(page.get(), "frameRate"); }
    QWidget* Light() { return Child<SensorEffect>(page.get(), "frameEffect"); }
    QComboBox* Mode() { return Child<QComboBox>(page.get(), "ModelChoose"); }
    QComboBox* Sleep() { return Child<QComboBox>(page.get(), "PerformanceOpen"); }
    QCheckBox* Performance() { return Child<QCheckBox>(page.get(), "Performance"); }
    QComboBox* LightMode() { return Child<QComboBox>(Light(), "Model"); }
    QSlider* Brightness() { return Child<QSlider>(Light(), "LightH"); }
    QAbstractButton* StageButton(int stage) { return Child<QAbstractButton>(Dpi(), StageNames[stage]); }
    QComboBox* StageCountList() { return Child<QComboBox>(Dpi(), "ChooseEvent"); }
    QLabel* Marker() { return Child<QLabel>(Dpi(), "label_8"); }
    bool RateShown(int index) { return !Child<QAbstractButton>(Rate(), RateNames[index])->isHidden(); }
    int CheckedRate() { return Checked(Rate(), RateNames, 7); }
    int CheckedStage() { return Checked(Dpi(), StageNames, 8); }

    // The mouse's image with five stages of 400 to 2000 DPI (the second
    // current) and three more records of 2400 to 3200 DPI.
    static FlashDataMap Image()
    {
        FlashDataMap image = StoredImage();
        image.reportRate = 1;
        image.dpiStageCount = 5;
        image.currentDpiStage = 1;
        for (int i = 0; i < FlashDataMap::StageCount; ++i)
            image.dpiStages[i] = Stage(400 * (i + 1), 10 * i, 20 * i, 30 * i);
        image.sensorMode = 1;
        image.sleepTime = 30;
        image.performanceMode = 1;
        image.dpiLightOn = 1;
        image.dpiLightMode = 1;
        image.dpiLightBrightness = 128;
        image.dpiLightSpeed = 3;
        return image;
    }

    // A product description of two models: the first with "DPIMaxGrade" 9,
    // the second without a sensor name.
    void UseTestDescription()
    {
        const QString path = descriptionDir.filePath(QStringLiteral("Config.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Drive1]\nSensor=MzM5NQ==\nDPIMaxGrade=9\nXIn1=1\n"
                   "DPIRange=100, 10000, 50, 10100, 26000, 100, 0x22\n"
                   "[Drive2]\nDPIMaxGrade=8\nXIn1=1\nDPIRange=100, 10000, 50, 10100, 26000, 100, 0x22\n");
        file.close();
        descriptionStore = std::make_unique<ConfigIni>(path);
        description = std::make_unique<ProductDescription>(descriptionStore.get());
        page->UseProductDescription(description.get());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(descriptionDir.isValid());
    }

    void init()
    {
        QVERIFY(OpenMouse());
        CurrentDevice.set(Device(0, 1, false));
        UiReady = false;
        SensorPageLoading = false;
        SensorPageFilled = false;
        page = std::make_unique<Sensor>();
        page->SlotChangeLanguage(0);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get(), DefaultTestLimit()));
    }

    void cleanup()
    {
        page.reset();
        UiReady = false;
        UsbServer_Exit();
    }

    // -- Building ----------------------------------------------------------

    void widgetsStandWhereTheFormPutsThem()
    {
        const struct {
            const char* name;
            const char* className;
            QRect rect;
        } widgets[] = {
            {"Performance", "QCheckBox", QRect(255, 360, 201, 17)},
            {"PerformanceOpen", "MyConmboBox", QRect(255, 390, 130, 30)},
            {"label_11", "QLabel", QRect(80, 360, 171, 17)},
            {"TitleButton_4", "QToolButton", QRect(40, 323, 16, 10)},
            {"label_5", "QLabel", QRect(80, 316, 211, 21)},
            {"TitleButton_2", "QToolButton", QRect(40, 220, 16, 10)},
            {"TitleButton", "QToolButton", QRect(40, 33, 16, 10)},
            {"frame", "RippeControl", QRect(433, 360, 204, 31)},
            {"frame_4", "StraightLine", QRect(433, 390, 204, 31)},
            {"frameLOD", "SensorLOD", QRect(255, 360, 131, 61)},
            {"frameRate", "SensorRate", QRect(80, 208, 725, 82)},
            {"frameDpi", "SensorDPI", QRect(65, 26, 728, 194)},
            {"ModelChoose", "MyConmboBox", QRect(80, 390, 130, 30)},
            {"frameEffect", "SensorEffect", QRect(80, 456, 439, 96)},
            {"TitleButton_3", "QToolButton", QRect(40, 463, 16, 10)},
            {"SenSorPage", "QFrame", QRect(0, 0, 883, 630)},
        };
        for (const auto& expected : widgets) {
            QWidget* widget = Child(page.get(), expected.name);
            QCOMPARE(widget->metaObject()->className(), expected.className);
            QVERIFY2(widget->geometry() == expected.rect, expected.name);
        }
        QCOMPARE(page->size(), QSize(883, 630));
    }

    void startsWithItsOwnControlsAtRest()
    {
        QVERIFY(Child(page.get(), "frameLOD")->isHidden());
        QVERIFY(!Mode()->isEnabled());
        QVERIFY(!Sleep()->isEnabled());
        QCOMPARE(Mode()->count(), 3);
        QCOMPARE(Mode()->itemText(2), QStringLiteral("Corded"));
        QCOMPARE(Sleep()->count(), 6);
        QCOMPARE(page->UserSettingDir, UserDataFolder() + QStringLiteral("/usersetting/SensorPage"));
        QVERIFY(QDir(page->UserSettingDir).exists());
        QVERIFY(Child(page.get(), "TitleButton")->styleSheet().contains(QStringLiteral("Title.png")));
        QVERIFY(Performance()->styleSheet().contains(QStringLiteral("CheckBoxChecked.png")));
        for (const char* picture : {"Title.png", "CheckBox.png", "CheckBoxChecked.png", "ComboboxBack.png"})
            QVERIFY2(QFile::exists(page->PictureDir + QLatin1String(picture)), picture);
    }

    void levelIniGivesTheStageCount()
    {
        const struct {
            const char* row;
            QByteArray content;   // null: no file
            int count;
        } cases[] = {
            {"4", QByteArray("4\n"), 4},
            {"empty line", QByteArray("\n7\n"), 1},
            {"missing", QByteArray(), 1},
            {"not a number", QByteArray("x\n"), 1},
            {"above eight", QByteArray("12"), 8},
            {"zero", QByteArray("0"), 1},
        };
        const QString path = page->UserSettingDir + QStringLiteral("/Level.ini");
        for (const auto& level : cases) {
            QFile::remove(path);
            if (!level.content.isNull()) {
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(level.content);
            }
            QVERIFY2(page->LoadLevelIni() == level.count, level.row);
            // Read, never written.
            QCOMPARE(QFile::exists(path), !level.content.isNull());
            if (!level.content.isNull()) {
                QFile file(path);
                QVERIFY(file.open(QIODevice::ReadOnly));
                QCOMPARE(file.readAll(), level.content);
            }
        }
        QFile::remove(path);
    }

    void textsComeFromTheLanguageFile()
    {
        page->SlotChangeLanguage(1);
        QCOMPARE(Child<QLabel>(page.get(), "label_5")->text(), QString::fromUtf8("传感器设置"));
        // An index of no language is English.
        page->SlotChangeLanguage(7);
        QCOMPARE(Child<QLabel>(page.get(), "label_5")->text(), QStringLiteral("Sensor settings"));
        QCOMPARE(Child<QLabel>(page.get(), "label_11")->text(), QStringLiteral("Sensor mode"));
        QCOMPARE(Performance()->text(), QStringLiteral("Full performance"));
        QCOMPARE(Sleep()->itemText(3), QStringLiteral("5 minutes"));
        QCOMPARE(LightMode()->itemText(2), QStringLiteral("Breathing"));
        QCOMPARE(Child<QLabel>(Dpi(), "label")->text(), QStringLiteral("DPI"));
        QCOMPARE(Child<QLabel>(Child(page.get(), "frame"), "label")->text(), QStringLiteral("Ripple control"));
        // The mode values and motion sync stay as they are.
        QCOMPARE(Mode()->itemText(1), QStringLiteral("HP"));
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            const QVariant text = widget->property("text");
            QVERIFY2(!text.toString().contains(QStringLiteral("Motion sync")), qPrintable(widget->objectName()));
        }
    }

    // Every text of the page and its frames fits its widget, in every
    // language.
    void textsFit()
    {
        QStringList problems;
        for (int language = 0; language < 6; ++language) {
            page->SlotChangeLanguage(language);
            for (QLabel* label : page->findChildren<QLabel*>()) {
                const QString text = label->text();
                // The page's own, not those of the colour dialog it carries.
                if (text.isEmpty() || label->window() != page.get())
                    continue;
                const int needed = label->fontMetrics().horizontalAdvance(text);
                if (needed > label->contentsRect().width())
                    problems << QStringLiteral("%1 \"%2\" %3 > %4").arg(label->objectName(), text).arg(needed).arg(
                        label->contentsRect().width());
            }
            const int indicator = Performance()->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, Performance())
                + Performance()->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, Performance());
            if (Performance()->fontMetrics().horizontalAdvance(Performance()->text()) + indicator > Performance()->width())
                problems << QStringLiteral("Performance \"%1\"").arg(Performance()->text());
            // Drop-down lists: the text left of the arrow.
            for (QComboBox* list : page->findChildren<QComboBox*>()) {
                if (list->window() != page.get())
                    continue;
                for (int i = 0; i < list->count(); ++i) {
                    if (list->fontMetrics().horizontalAdvance(list->itemText(i)) > list->width() - 40)
                        problems << QStringLiteral("%1 \"%2\"").arg(list->objectName(), list->itemText(i));
                }
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }

    void aChangeKeepsTheSleepListWithTheSwitch()
    {
        for (bool on : {true, false}) {
            Performance()->setChecked(on);
            Sleep()->setEnabled(!on);
            QEvent change(QEvent::LanguageChange);
            QApplication::sendEvent(page.get(), &change);
            QCOMPARE(Sleep()->isEnabled(), on);
        }
    }

    // -- Whole image -------------------------------------------------------

    void refreshShowsRateAndMode_data()
    {
        QTest::addColumn<bool>("wired");
        QTest::addColumn<int>("linkType");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("rate");        // index checked
        QTest::addColumn<int>("highest");     // highest rate index offered
        QTest::addColumn<int>("mode");        // item shown
        QTest::addColumn<bool>("modeEnabled");
        QTest::addColumn<bool>("cordedRowHidden");
        QTest::newRow("cable 4000 Hz") << true << 2 << 32 << 3 << 3 << 2 << false << false;
        QTest::newRow("8K receiver 8000 Hz") << false << 5 << 64 << 6 << 6 << 2 << false << false;
        QTest::newRow("8K receiver 1000 Hz") << false << 5 << 1 << 3 << 6 << 1 << true << true;
        QTest::newRow("4K receiver 500 Hz") << false << 1 << 2 << 2 << 5 << 1 << true << true;
        QTest::newRow("2K receiver 2000 Hz") << false << 4 << 16 << 4 << 4 << 2 << false << false;
        QTest::newRow("1K receiver 125 Hz") << false << 0 << 8 << 0 << 3 << 1 << true << true;
    }

    void refreshShowsRateAndMode()
    {
        QFETCH(bool, wired);
        QFETCH(int, linkType);
        QFETCH(int, code);
        QFETCH(int, rate);
        QFETCH(int, highest);
        QFETCH(int, mode);
        QFETCH(bool, modeEnabled);
        QFETCH(bool, cordedRowHidden);
        CurrentDevice.set(Device(0, linkType, wired));
        UiReady = true;
        FlashDataMap image = Image();
        image.reportRate = quint8(code);
        const int writes = Writes();
        page->SlotUpDataSenSorUISensor(image);
        QCOMPARE(CheckedRate(), rate);
        for (int i = 4; i < 7; ++i)
            QCOMPARE(RateShown(i), i <= highest);
        QCOMPARE(Mode()->currentIndex(), mode);
        QCOMPARE(Mode()->isEnabled(), modeEnabled);
        if (cordedRowHidden)
            QVERIFY(page->ModeListView->isRowHidden(2));
        QCOMPARE(Writes(), writes);
    }

    void refreshShowsTheOptions()
    {
        UiReady = true;
        const int writes = Writes();
        FlashDataMap image = Image();
        image.rippleControl = 1;
        image.angleSnapping = 0;
        page->SlotUpDataSenSorUISensor(image);
        QVERIFY(Performance()->isChecked());
        QVERIFY(Sleep()->isEnabled());
        QCOMPARE(Sleep()->currentIndex(), 3);
        QVERIFY(Child<QAbstractButton>(Child(page.get(), "frame"), "RippeControl_2")->isChecked());
        QVERIFY(!Child<QAbstractButton>(Child(page.get(), "frame_4"), "StraightLine_2")->isChecked());
        QVERIFY(Child(page.get(), "frame")->isVisible());
        QVERIFY(Child(page.get(), "frame_4")->isVisible());
        QCOMPARE(LightMode()->currentIndex(), 1);
        QCOMPARE(Brightness()->value(), 5);

        // 2 minutes; then a byte of no item leaves the list as it is.
        image.sleepTime = 12;
        image.performanceMode = 0;
        page->SlotUpDataSenSorUISensor(image);
        QCOMPARE(Sleep()->currentIndex(), 2);
        QVERIFY(!Performance()->isChecked());
        QVERIFY(!Sleep()->isEnabled());
        image.sleepTime = 120;
        page->SlotUpDataSenSorUISensor(image);
        QCOMPARE(Sleep()->currentIndex(), 2);
        QCOMPARE(Writes(), writes);
    }

    void refreshShowsTheDpiLight_data()
    {
        QTest::addColumn<int>("on");
        QTest::addColumn<int>("lightMode");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("shownMode");
        QTest::addColumn<int>("position");
        QTest::newRow("steady 128") << 1 << 1 << 128 << 1 << 5;
        QTest::newRow("breathing 255") << 1 << 2 << 255 << 2 << 10;
        QTest::newRow("off whatever the mode") << 0 << 2 << 16 << 0 << 1;
        QTest::newRow("on, mode 0 keeps the mode shown") << 1 << 0 << 30 << 1 << 2;
        QTest::newRow("between steps: the nearer") << 1 << 1 << 100 << 1 << 4;
        QTest::newRow("above the table") << 1 << 1 << 254 << 1 << 10;
        QTest::newRow("below the table") << 1 << 1 << 0 << 1 << 1;
    }

    void refreshShowsTheDpiLight()
    {
        QFETCH(int, on);
        QFETCH(int, lightMode);
        QFETCH(int, brightness);
        QFETCH(int, shownMode);
        QFETCH(int, position);
        UiReady = true;
        page->SlotUpDataSenSorUISensor(Image());   // steady
        const int writes = Writes();
        FlashDataMap image = Image();
        image.dpiLightOn = quint8(on);
        image.dpiLightMode = quint8(lightMode);
        image.dpiLightBrightness = quint8(brightness);
        // The whole image and the mouse's light report show it alike.
        page->SlotUpDataSenSorUISensor(image);
        QCOMPARE(LightMode()->currentIndex(), shownMode);
        QCOMPARE(Brightness()->value(), position);
        page->SlotUpDataSenSorUISensor(Image());
        page->SlotUpDataDPILed(image);
        QCOMPARE(LightMode()->currentIndex(), shownMode);
        QCOMPARE(Brightness()->value(), position);
        QVERIFY(!SensorPageLoading);
        QCOMPARE(Writes(), writes);
    }

    void refreshShowsTheStages()
    {
        FlashDataMap image = Image();
        image.dpiStageCount = 3;
        image.currentDpiStage = 2;
        page->SlotUpDataSenSorUISensor(image);
        // "DPIMaxGrade" 8: every record's colour and DPI, three stages shown.
        for (int i = 0; i < FlashDataMap::StageCount; ++i) {
            QCOMPARE(StageButton(i)->text(), QString::number(400 * (i + 1)));
            QCOMPARE(StageButton(i)->isHidden(), i > 2);
            const QString colour = QStringLiteral("rgb(%1,%2,%3)").arg(10 * i).arg(20 * i).arg(30 * i);
            QVERIFY2(Child(Dpi(), qPrintable(QLatin1String(StageNames[i]) + QLatin1Char('A')))
                         ->styleSheet()
                         .contains(colour),
                     qPrintable(colour));
        }
        QCOMPARE(StageCountList()->count(), 8);
        QCOMPARE(StageCountList()->currentIndex(), 2);
        QCOMPARE(CheckedStage(), 2);
        QCOMPARE(Child<QSpinBox>(Dpi(), "spinBoxA")->value(), 1200);
        QCOMPARE(Child<QSlider>(Dpi(), "horizontalSliderC")->maximum(), 26000);
        QCOMPARE(Child<QSlider>(Dpi(), "horizontalSliderC")->minimum(), 100);
    }

    void stagesOutsideThePanelAreHeld()
    {
        UseTestDescription();
        UiReady = true;
        const int writes = Writes();
        FlashDataMap image = Image();
        image.dpiStageCount = 12;
        image.currentDpiStage = 9;
        page->SlotUpDataSenSorUISensor(image);
        // "DPIMaxGrade" 9 reads eight records; 12 stages show as eight, stage
        // 9 as the last.
        QCOMPARE(StageCountList()->count(), 8);
        QCOMPARE(StageCountList()->currentIndex(), 7);
        for (int i = 0; i < FlashDataMap::StageCount; ++i)
            QVERIFY(!StageButton(i)->isHidden());
        QCOMPARE(CheckedStage(), 7);
        QCOMPARE(Writes(), writes);
    }

    void withoutSensorNameEveryFeatureIsOffered()
    {
        UseTestDescription();
        CurrentDevice.set(Device(1, 1, false));
        page->SlotUpDataSenSorUISensor(Image());
        QCOMPARE(CurrentSensorModel, QString());
        QVERIFY(Mode()->isEnabled());
        QVERIFY(Child(page.get(), "frame")->isVisible());
        QVERIFY(Child(page.get(), "frame_4")->isVisible());
    }

    void compactLayoutMovesTheLightOnlyForADeviceRead()
    {
        CurrentDevice.set(Device(1, 4, false));
        page->SlotUpDataSenSorUISensor(Image());
        QCOMPARE(Light()->pos(), QPoint(80, 316));
        QCOMPARE(Child(page.get(), "TitleButton_3")->pos(), QPoint(40, 323));
        for (const char* name : {"TitleButton_4", "label_5", "label_11", "ModelChoose", "Performance",
                                 "PerformanceOpen", "frame", "frame_4"})
            QVERIFY2(Child(page.get(), name)->isHidden(), name);
        page->SlotUpDataSenSorUIB(Image());
        QCOMPARE(Light()->pos(), QPoint(80, 456));
        QCOMPARE(Child(page.get(), "TitleButton_3")->pos(), QPoint(40, 463));
        QVERIFY(Child(page.get(), "label_5")->isHidden());
        // The full layout again for a model-1 mouse.
        CurrentDevice.set(Device(0, 1, false));
        page->SlotUpDataSenSorUISensor(Image());
        QCOMPARE(Light()->pos(), QPoint(80, 456));
        QVERIFY(!Child(page.get(), "label_5")->isHidden());
    }

    void onlyADeviceReadMarksThePageFilled()
    {
        SensorPageFilled = false;
        page->SlotUpDataSenSorUIB(Image());
        QVERIFY(!SensorPageFilled);
        QVERIFY(!SensorPageLoading);
        page->SlotUpDataSenSorUISensor(Image());
        QVERIFY(SensorPageFilled);
        QVERIFY(!SensorPageLoading);
        page->SlotUpDataSenSorUIB(Image());
        QVERIFY(SensorPageFilled);
    }

    // -- The mouse's own reports ------------------------------------------

    void stageReportMovesTheStageAndKeepsReadiness_data()
    {
        QTest::addColumn<bool>("ready");
        QTest::newRow("ready") << true;
        QTest::newRow("not ready") << false;
    }

    void stageReportMovesTheStageAndKeepsReadiness()
    {
        QFETCH(bool, ready);
        page->SlotUpDataSenSorUISensor(Image());
        UiReady = ready;
        const int writes = Writes();
        page->SlotUpDataDPI(3);
        QCOMPARE(CheckedStage(), 3);
        QCOMPARE(UiReady.load(), ready);
        const QPoint marker = Marker()->pos();
        page->SlotUpDataDPI(9);
        QCOMPARE(Marker()->pos(), marker);
        QCOMPARE(CheckedStage(), 3);
        QCOMPARE(UiReady.load(), ready);
        QCOMPARE(Writes(), writes);
    }

    void rateReportsShowTheRateWithoutWriting_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("modeEnabled");
        QTest::newRow("2000 Hz") << 16 << 4 << 2 << false;
        QTest::newRow("then 500 Hz") << 2 << 2 << 1 << true;
        QTest::newRow("unknown code") << 3 << 3 << 1 << true;
    }

    void rateReportsShowTheRateWithoutWriting()
    {
        QFETCH(int, code);
        QFETCH(int, rate);
        QFETCH(int, mode);
        QFETCH(bool, modeEnabled);
        UiReady = true;
        LiveFlashData.update([](FlashDataMap& image) { image.sensorMode = 1; });
        page->SlotUpDataSenSorUISensor(Image());   // 1000 Hz, HP
        const int writes = Writes();
        if (code == 2)
            page->SlotUpDataReportRate(16);
        page->SlotUpDataReportRate(code);
        QCOMPARE(CheckedRate(), rate);
        QCOMPARE(Mode()->currentIndex(), mode);
        QCOMPARE(Mode()->isEnabled(), modeEnabled);
        QCOMPARE(page->ModeListView->isRowHidden(2), modeEnabled);
        QCOMPARE(Writes(), writes);
    }

    void rateChosenOnThePageGovernsCorded()
    {
        UiReady = true;
        LiveFlashData.update([](FlashDataMap& image) { image.sensorMode = 1; });
        page->SlotUpDataSenSorUISensor(Image());
        const int writes = Writes();
        page->SlotHideModel(1);
        QCOMPARE(Mode()->currentIndex(), 2);
        QVERIFY(!Mode()->isEnabled());
        page->SlotHideModel(0);
        QCOMPARE(Mode()->currentIndex(), 1);
        QVERIFY(Mode()->isEnabled());
        QCOMPARE(Writes(), writes);
        // A rate button of the frame sends it over the bus.
        QTest::mouseClick(Child<QAbstractButton>(Rate(), "Button4000HZ"), Qt::LeftButton);
        QCOMPARE(int(StoredImage().reportRate), 32);
        QCOMPARE(Mode()->currentIndex(), 2);
        QVERIFY(!Mode()->isEnabled());
        QCOMPARE(Writes(), writes + 1);
    }

    void resetShowsTheDefaultsOfTheLink_data()
    {
        QTest::addColumn<int>("linkType");
        QTest::addColumn<bool>("wired");
        QTest::addColumn<int>("highest");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("mode");
        QTest::newRow("1K receiver") << 0 << false << 3 << 3 << 0;
        QTest::newRow("4K receiver") << 1 << false << 5 << 3 << 2;
        QTest::newRow("2K receiver") << 4 << false << 4 << 3 << 2;
        QTest::newRow("8K receiver") << 5 << false << 6 << 6 << 2;
        QTest::newRow("cable") << 2 << true << 3 << 3 << 2;
    }

    void resetShowsTheDefaultsOfTheLink()
    {
        QFETCH(int, linkType);
        QFETCH(bool, wired);
        QFETCH(int, highest);
        QFETCH(int, rate);
        QFETCH(int, mode);
        CurrentDevice.set(Device(0, linkType, wired));
        UiReady = true;
        page->SlotUpDataSenSorUISensor(Image());
        const int writes = Writes();
        page->SlotFormReset();
        QCOMPARE(CheckedRate(), rate);
        for (int i = 4; i < 7; ++i)
            QCOMPARE(RateShown(i), i <= highest);
        QCOMPARE(Mode()->currentIndex(), mode);
        QCOMPARE(StageCountList()->count(), 6);
        QCOMPARE(StageCountList()->currentIndex(), 5);
        QCOMPARE(CheckedStage(), 1);
        QCOMPARE(Sleep()->currentIndex(), 1);
        QVERIFY(!Performance()->isChecked());
        QVERIFY(!Sleep()->isEnabled());
        QCOMPARE(LightMode()->currentIndex(), 2);
        QCOMPARE(Brightness()->value(), 5);
        QVERIFY(!SensorPageLoading);
        QCOMPARE(Writes(), writes);
    }

    // -- The page's own controls -------------------------------------------

    void sensorModeIsWritten()
    {
        page->SlotUpDataSenSorUISensor(Image());
        UiReady = true;
        Mode()->setCurrentIndex(0);
        QCOMPARE(int(StoredImage().sensorMode), 0);
        const int writes = Writes();
        Mode()->setCurrentIndex(1);
        QCOMPARE(int(StoredImage().sensorMode), 1);
        QCOMPARE(Writes(), writes + 1);
        // Corded is never written from the list.
        Mode()->setCurrentIndex(2);
        QCOMPARE(int(StoredImage().sensorMode), 1);
        QCOMPARE(Writes(), writes + 1);
    }

    void performanceSwitchAndSleepTimeAreWritten()
    {
        FlashDataMap image = Image();
        image.performanceMode = 0;
        page->SlotUpDataSenSorUISensor(image);
        UiReady = true;
        const int writes = Writes();
        QTest::mouseClick(Performance(), Qt::LeftButton, Qt::NoModifier, QPoint(8, Performance()->height() / 2));
        QVERIFY(Performance()->isChecked());
        QVERIFY(Sleep()->isEnabled());
        QCOMPARE(int(StoredImage().performanceMode), 1);
        QCOMPARE(Writes(), writes + 1);
        const struct {
            int item;
            int stored;
        } sleeps[] = {{2, 12}, {5, 90}, {0, 3}};
        for (const auto& sleep : sleeps) {
            Sleep()->setCurrentIndex(sleep.item);
            QCOMPARE(int(StoredImage().sleepTime), sleep.stored);
        }
        QCOMPARE(Writes(), writes + 4);
    }

    void nothingIsWrittenBeforeTheFrameIsReady()
    {
        page->SlotUpDataSenSorUISensor(Image());
        UiReady = false;
        const int writes = Writes();
        Mode()->setCurrentIndex(0);
        QTest::mouseClick(Performance(), Qt::LeftButton, Qt::NoModifier, QPoint(8, Performance()->height() / 2));
        QVERIFY(!Performance()->isChecked());
        QVERIFY(!Sleep()->isEnabled());
        QTest::mouseClick(Performance(), Qt::LeftButton, Qt::NoModifier, QPoint(8, Performance()->height() / 2));
        QVERIFY(Sleep()->isEnabled());
        Sleep()->setCurrentIndex(4);
        QCOMPARE(Writes(), writes);
    }

    void mouseOffKeepsTheImageAndTellsTheUser()
    {
        page->SlotUpDataSenSorUISensor(Image());
        UiReady = true;
        QVERIFY(SimDevice_SetPower("mouse", 0));
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const FlashDataMap before = LiveFlashData.get();
        Sleep()->setCurrentIndex(5);
        Mode()->setCurrentIndex(0);
        QCOMPARE(Sleep()->currentIndex(), 5);
        const FlashDataMap after = LiveFlashData.get();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(after.bytes()), FlashDataMap::Size),
                 QByteArray(reinterpret_cast<const char*>(before.bytes()), FlashDataMap::Size));
        QCOMPARE(offline.count(), 2);
        QVERIFY(SimDevice_SetPower("mouse", 1));
    }

    // -- A picked mouse ----------------------------------------------------

    // The worker's read of the wired model-2 mouse reaches the page over the
    // bus and shows the compact layout with the cable's rates.
    void pickedWiredMouseShowsTheCompactLayout()
    {
        page.reset();
        UsbServer_Exit();
        QVERIFY(SimDevice_LoadScenarioFile(TALVIRE_SCENARIO_DIR "/several-devices.json"));
        page = std::make_unique<Sensor>();
        page->show();
        PickedMouse mouse("wired", "wired");
        QVERIFY2(mouse.Open(), qPrintable(mouse.Missing()));
        TRY_VERIFY(SensorPageFilled);
        QCOMPARE(Light()->pos(), QPoint(80, 316));
        QVERIFY(Child(page.get(), "label_5")->isHidden());
        QVERIFY(!RateShown(4));
        QCOMPARE(mouse.Writes(), 0);
    }

    // -- Look --------------------------------------------------------------

    void screenshots_data()
    {
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<int>("language");
        QTest::newRow("model 1, English") << 0 << 0;
        QTest::newRow("model 1, Chinese") << 0 << 1;
        QTest::newRow("model 2, English") << 1 << 0;
        QTest::newRow("model 2, Chinese") << 1 << 1;
    }

    void screenshots()
    {
        QFETCH(int, modelIndex);
        QFETCH(int, language);
        CurrentDevice.set(Device(modelIndex, modelIndex == 0 ? 1 : 4, false));
        page->SlotChangeLanguage(language);
        page->SlotUpDataSenSorUISensor(Image());
        // The page on the frame's dark ground.
        page->setPalette(StyleSheet::DarkPalette());
        page->setAutoFillBackground(true);
        const QString name = QStringLiteral("sensor_page_model%1_%2").arg(modelIndex + 1).arg(language == 0 ? "en" : "zh");
        QVERIFY(!SaveScreenshot(page.get(), name).isEmpty());
    }
};

TALVIRE_TEST_MAIN(SensorPageTest)
#include "test_sensor_page.moc"
