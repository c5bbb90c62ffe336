// The settings page on the simulated receiver and mouse: what the page shows
// when it is built, its texts and the version rows per language, the company
// texts, the receiver's long range and light, start with the desktop
// session, the version rows and the update look, the rows per model and link,
// the language choice, pairing, and how it looks.
#include "core/FirmwareImages.h"
#include "core/LanguageTexts.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/settings/FormSetting.h"
#include "platform/AutoStart.h"
#include "platform/MouseSettingsLauncher.h"
#include "tests/common/FirmwareImageFiles.h"
#include "tests/common/ModalAnswer.h"
#include "tests/common/PickedMouse.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace {
const QStringList LongRangeRows{"TitleButton_6", "label_11", "checkBox_2", "textEdit"};
const QStringList ReceiverLightRows{"TitleButton_7", "label_14", "ReUntil", "ReUntil_2", "ReUntil_3",
                                    "textEdit_2", "textEdit_3", "textEdit_4"};
const QStringList NeverShown{"Receive_2", "NewLabel", "TitleButton_8", "label_12", "label_13", "frameClose",
                             "toolButton_2", "toolButton_3"};

template <typename Widget = QWidget>
Widget* Child(const QWidget& page, const QString& name)
{
    auto* child = page.findChild<Widget*>(name);
    if (!child)
        qFatal("no child %s", qPrintable(name));
    return child;
}

// Shown on the page, as a person would see it once the page is on screen
// (the page itself need not be).
bool Shown(const QWidget& page, const QString& name)
{
    return !Child(page, name)->isHidden();
}

QStringList ShownOf(const QWidget& page, const QStringList& names)
{
    QStringList shown;
    for (const QString& name : names) {
        if (Shown(page, name))
            shown << name;
    }
    return shown;
}

QSize Content(const QWidget& page)
{
    return Child(page, QStringLiteral("scrollAreaWidgetContents"))->size();
}

void Store(const char* group, const char* key, const QString& value)
{
    MacroIni::Instance()->SetValue(QLatin1String(group), QLatin1String(key), value);
}

QString Stored(const char* group, const char* key)
{
    return MacroIni::Instance()->GetValue(QLatin1String(group), QLatin1String(key));
}

bool Write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The current device as the chooser gives it: model 1 behind a receiver of
// link type 1 (kind 4), online.
DeviceAllInfo ReceiverDevice(const QString& receiverVersion = QString(), const QString& mouseVersion = QString())
{
    DeviceAllInfo device;
    device.path = QString::fromLatin1(SimDevice_PathOf("receiver"));
    device.linkType = 1;
    device.modelIndex = 0;
    device.online = true;
    device.receiverVersion = receiverVersion;
    device.mouseVersion = mouseVersion;
    return device;
}

DeviceAllInfo WiredDevice(const QString& receiverVersion, const QString& mouseVersion)
{
    DeviceAllInfo device = ReceiverDevice(receiverVersion, mouseVersion);
    device.linkType = 2;
    device.wired = true;
    return device;
}

DeviceAllInfo WithAddress(DeviceAllInfo device)
{
    device.address = {0x5A, 0x3C, 0x11};
    return device;
}

// The update button's look: "wait" (other firmware exists), "confirm", or
// "" before either was set.
QString Look(const QWidget& page)
{
    const QString style = Child(page, QStringLiteral("Receive_2"))->styleSheet();
    if (style.contains(QStringLiteral("WaitUpdate.png")))
        return QStringLiteral("wait");
    if (style.contains(QStringLiteral("Confirm.png")))
        return QStringLiteral("confirm");
    return QString();
}

// Takes the URLs the page opens instead of the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};
} // namespace

// What a closed drop-down list shows: its entry, else its placeholder.
QString BoxText(const QComboBox* box)
{
    return box->currentIndex() >= 0 ? box->currentText() : box->placeholderText();
}

class SettingsPageTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    UrlCatcher urls_;
    int launches_ = 0;

    // A folder of language files: the program's six, and Net.xml as given
    // (none when empty).
    QString LanguageFixture(const QByteArray& net)
    {
        static int count = 0;
        const QString folder = dir_.filePath(QStringLiteral("language%1").arg(++count));
        QDir().mkpath(folder);
        for (int index = 0; index <= 5; ++index) {
            const QString file = LanguageTexts::FileName(index);
            QFile::copy(file, folder + QLatin1Char('/') + file.section(QLatin1Char('/'), -1));
        }
        if (!net.isEmpty())
            Write(folder + QStringLiteral("/Net.xml"), net);
        return folder;
    }

    // The scenario's receiver and mouse opened as the current device.
    static bool OpenReceiver()
    {
        const char* path = SimDevice_PathOf("receiver");
        auto ignoreReports = [](const unsigned char*, int, const unsigned char*, int) {};
        if (!path || !UsbServerC_Start(path, path, ignoreReports))
            return false;
        CurrentDevicePath.set(QByteArray(path));
        CurrentDevice.set(ReceiverDevice());
        return true;
    }

    // The scenario's mouse as the current device, its configuration in the
    // live image, ready for writes: a write would show in its count.
    static bool OpenMouseForWrites()
    {
        if (!OpenReceiver())
            return false;
        LiveFlashDataSource.set(CurrentDevicePath.get());
        UiReady = true;
        return SimDevice_WriteCount("mouse") == 0;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls_, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls_, "Open");
        MouseSettingsLauncher::SetLaunch([this] {
            ++launches_;
            return true;
        });
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        MouseSettingsLauncher::SetLaunch({});
    }

    void init()
    {
        // The library's threads stop first: an answer of the last test still
        // due would meet the state as it is reset.
        QVERIFY(SimDevice_Reset());
        ResetSharedState();
        LanguageTexts::SetFolder(QString());
        FirmwareImages::SetFolder(QString());
        Store("Language", "Language", QStringLiteral("0"));
        Store("AutoStart", "Enable", QStringLiteral("0"));
        QFile::remove(AutoStart::EntryPath());
        urls_.urls.clear();
        launches_ = 0;
    }

    void cleanup()
    {
        UiReady = false;
        UsbServer_Exit();
        LanguageTexts::SetFolder(QString());
        FirmwareImages::SetFolder(QString());
    }

    // What a fresh page shows: no optional rows, nothing of the update side,
    // the short page, the stored choices.
    void construction_data()
    {
        QTest::addColumn<QString>("enable");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("versionX");
        QTest::addColumn<QString>("named");   // what the language box shows
        QTest::newRow("started with the session, English") << "1" << "0" << true << 0 << "Language" << 200
                                                           << "English";
        QTest::newRow("Enable 2, Korean") << "2" << "3" << false << -1 << "언어" << 170 << "한국어";
        QTest::newRow("not numbers") << "yes" << "zh" << false << 0 << "Language" << 200 << "English";
        QTest::newRow("Chinese") << "0" << "1" << false << 1 << "语言" << 150 << "简体中文";
        QTest::newRow("Traditional Chinese") << "0" << "2" << false << -1 << "語言" << 150 << "繁體中文";
        QTest::newRow("Russian") << "0" << "4" << false << -1 << "Язык" << 280 << "Русский";
        QTest::newRow("Japanese") << "0" << "5" << false << -1 << "言語" << 280 << "日本語";
    }
    void construction()
    {
        QFETCH(QString, enable);
        QFETCH(QString, language);
        QFETCH(bool, checked);
        QFETCH(int, current);
        QFETCH(QString, title);
        QFETCH(int, versionX);
        QFETCH(QString, named);
        Store("AutoStart", "Enable", enable);
        Store("Language", "Language", language);
        FormSetting page;
        QCOMPARE(ShownOf(page, LongRangeRows + ReceiverLightRows + NeverShown), QStringList());
        QCOMPARE(Content(page), QSize(880, 630));
        QCOMPARE(Child(page, QStringLiteral("pushButton_3"))->pos(), QPoint(610, 540));
        QCOMPARE(Child(page, QStringLiteral("pushButton_4"))->pos(), QPoint(370, 560));
        QCOMPARE(Child<QCheckBox>(page, QStringLiteral("checkBox"))->isChecked(), checked);
        QCOMPARE(Child<QComboBox>(page, QStringLiteral("comboBox"))->currentIndex(), current);
        QCOMPARE(Child<QComboBox>(page, QStringLiteral("comboBox"))->count(), 2);
        QCOMPARE(BoxText(Child<QComboBox>(page, QStringLiteral("comboBox"))), named);
        QCOMPARE(Child<QLabel>(page, QStringLiteral("label_2"))->text(), title);
        QCOMPARE(Child(page, QStringLiteral("label_5"))->x(), versionX);
        QVERIFY(!WiredModeText.isEmpty());
        // Building the page sent nothing to the devices nor to the session.
        QVERIFY(!QFile::exists(AutoStart::EntryPath()));
        QCOMPARE(Stored("AutoStart", "Enable"), enable);
    }

    // The language file of each index and where the version rows go.
    void versionRowsPerLanguage_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("valueX");
        QTest::addColumn<QPoint>("update");
        QTest::addColumn<int>("updatePoints");
        QTest::newRow("0 English") << 0 << "Language" << 200 << QPoint(280, 170) << 10;
        QTest::newRow("1 Simplified Chinese") << 1 << "语言" << 150 << QPoint(280, 170) << 10;
        QTest::newRow("2 Traditional Chinese") << 2 << "語言" << 150 << QPoint(330, 170) << 10;
        QTest::newRow("3 Korean") << 3 << "언어" << 170 << QPoint(280, 170) << 10;
        QTest::newRow("4 Russian") << 4 << "Язык" << 280 << QPoint(330, 170) << 10;
        // Japanese keeps the button where the previous language put it.
        QTest::newRow("5 Japanese") << 5 << "言語" << 280 << QPoint(330, 170) << 7;
        QTest::newRow("9: English") << 9 << "Language" << 235 << QPoint(285, 155) << 10;
    }
    void versionRowsPerLanguage()
    {
        QFETCH(int, index);
        QFETCH(QString, title);
        QFETCH(int, valueX);
        QFETCH(QPoint, update);
        QFETCH(int, updatePoints);
        FormSetting page;
        page.SlotChangeLanguage(4);
        page.SlotChangeLanguage(index);
        QCOMPARE(Child<QLabel>(page, QStringLiteral("label_2"))->text(), title);
        QCOMPARE(Child(page, QStringLiteral("label_5"))->pos(), QPoint(valueX, 155));
        QCOMPARE(Child(page, QStringLiteral("label_7"))->pos(), QPoint(valueX, 185));
        QCOMPARE(Child(page, QStringLiteral("Receive_2"))->pos(), update);
        QCOMPARE(Child(page, QStringLiteral("Receive_2"))->font().pointSize(), updatePoints);
        QCOMPARE(Child(page, QStringLiteral("toolButton_2"))->pos(), QPoint(460, 160));
        QCOMPARE(Child(page, QStringLiteral("toolButton_3"))->pos(), QPoint(460, 190));
    }

    // A child of the page's element that holds elements of its own is passed
    // over: the known children after it still take their texts.
    void unknownNestedChild()
    {
        const QString folder = LanguageFixture(QByteArray());
        QVERIFY(Write(folder + QStringLiteral("/0-English.xml"),
                      "<Total><FormSetting><label_2>Before</label_2>"
                      "<Unknown><a><b>deep</b></a><c/></Unknown>"
                      "<label_3>After</label_3><StopCloseTime5>5 minutes</StopCloseTime5>"
                      "<WiredMode>Cable</WiredMode></FormSetting></Total>"));
        FormSetting page;
        LanguageTexts::SetFolder(folder);
        page.SlotChangeLanguage(0);
        QCOMPARE(Child<QLabel>(page, QStringLiteral("label_2"))->text(), QStringLiteral("Before"));
        QCOMPARE(Child<QLabel>(page, QStringLiteral("label_3"))->text(), QStringLiteral("After"));
        QCOMPARE(Child<QComboBox>(page, QStringLiteral("StopClose"))->itemText(5), QStringLiteral("5 minutes"));
        QCOMPARE(WiredModeText, QStringLiteral("Cable"));
    }

    // The company line and web address from Net.xml, per language; the web
    // button opens that address, the mouse settings button the desktop's
    // program.
    void companyTexts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("net");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("web");
        const QByteArray both = "<Profile><English><CompanyName>English Ltd</CompanyName></English>"
                                "<Chinese><CompanyName>Chinese Ltd</CompanyName></Chinese>"
                                "<Web><CompanyWeben>en.talvire.example</CompanyWeben>"
                                "<CompanyWebcn>cn.talvire.example</CompanyWebcn></Web></Profile>";
        QTest::newRow("English") << 0 << both << "English Ltd" << "en.talvire.example";
        QTest::newRow("Simplified Chinese") << 1 << both << "Chinese Ltd" << "cn.talvire.example";
        QTest::newRow("Traditional Chinese") << 2 << both << "Chinese Ltd" << "cn.talvire.example";
        QTest::newRow("Korean") << 3 << both << "English Ltd" << "en.talvire.example";
        QTest::newRow("Japanese takes the English address") << 5 << both << "English Ltd" << "en.talvire.example";
        QTest::newRow("the later company line wins")
            << 0
            << QByteArray("<Profile><English><CompanyName>First</CompanyName></English>"
                          "<Web><CompanyName>Later</CompanyName><CompanyWeben>a.example</CompanyWeben></Web>"
                          "<English><Other><x/></Other><CompanyName>Last</CompanyName></English></Profile>")
            << "Last" << "a.example";
        QTest::newRow("no file: the texts stay") << 0 << QByteArray() << "TALVIRE" << "www.talvire.example";
        QTest::newRow("another root: the texts stay")
            << 0 << QByteArray("<Total><English><CompanyName>No</CompanyName></English></Total>") << "TALVIRE"
            << "www.talvire.example";
    }
    void companyTexts()
    {
        QFETCH(int, language);
        QFETCH(QByteArray, net);
        QFETCH(QString, company);
        QFETCH(QString, web);
        LanguageTexts::SetFolder(LanguageFixture(net));
        Store("Language", "Language", QString::number(language));
        FormSetting page;
        QCOMPARE(Child<QPushButton>(page, QStringLiteral("pushButton_4"))->text(), company);
        auto* address = Child<QPushButton>(page, QStringLiteral("pushButton_3"));
        QCOMPARE(address->text(), web);

        address->click();
        QCOMPARE(urls_.urls, QList<QUrl>{QUrl(QStringLiteral("http://") + web)});
        QCOMPARE(launches_, 0);
        Child<QPushButton>(page, QStringLiteral("pushButton"))->click();
        QCOMPARE(launches_, 1);
    }

    // The program's own Net.xml: a company line and an address in each
    // language group.
    void programCompanyTexts()
    {
        for (int language : {0, 1, 5}) {
            Store("Language", "Language", QString::number(language));
            FormSetting page;
            QVERIFY(page.findChild<QPushButton*>(QStringLiteral("pushButton_3"))->text().endsWith(".example"));
            QVERIFY(page.findChild<QPushButton*>(QStringLiteral("pushButton_4"))->text().contains("TALVIRE"));
        }
    }

    // The scenario's mouse picked as a person picks it: the worker's read
    // shows the versions, the long-range and receiver-light rows as the
    // receiver has them; the person's choices reach the receiver.
    void pickedMouse()
    {
        QVERIFY(SimDevice_SetReceiverLight("receiver", 2));
        FormSetting page;
        PickedMouse mouse;
        QVERIFY2(mouse.Open(), qPrintable(mouse.Missing()));
        TRY_VERIFY(!Child<QLabel>(page, QStringLiteral("label_7"))->text().isEmpty());
        QVERIFY(!Child<QLabel>(page, QStringLiteral("label_5"))->text().isEmpty());
        QCOMPARE(ShownOf(page, LongRangeRows + ReceiverLightRows), LongRangeRows + ReceiverLightRows);
        QCOMPARE(Content(page), QSize(880, 780));
        QVERIFY(Child<QAbstractButton>(page, QStringLiteral("ReUntil_2"))->isChecked());
        const int longRange = SimDevice_LongRange("receiver");
        QCOMPARE(Child<QAbstractButton>(page, QStringLiteral("checkBox_2"))->isChecked(), longRange == 1);

        Child<QAbstractButton>(page, QStringLiteral("checkBox_2"))->click();
        Child<QAbstractButton>(page, QStringLiteral("ReUntil_3"))->click();
        QCOMPARE(SimDevice_LongRange("receiver"), 1 - longRange);
        QCOMPARE(SimDevice_ReceiverLight("receiver"), 3);
        QCOMPARE(mouse.Writes(), 0);
    }

    // The receiver's long range and light from the page's boxes, as a click
    // changes them: sent while the device answers and the frame is ready; an
    // offline notice per box that changes while the mouse is off.
    void receiverChoices_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("mouseOn");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<int>("longRange");
        QTest::addColumn<int>("light");
        QTest::addColumn<int>("notices");
        // The receiver starts with long range off and light option 1, which
        // the page shows.
        QTest::newRow("long range on") << "checkBox_2" << true << true << true << 1 << 1 << 0;
        QTest::newRow("long range on, mouse off") << "checkBox_2" << true << false << true << 0 << 1 << 1;
        QTest::newRow("long range on, frame not ready") << "checkBox_2" << true << true << false << 0 << 1 << 0;
        QTest::newRow("light option 3") << "ReUntil_3" << true << true << true << 0 << 3 << 0;
        QTest::newRow("light option 2") << "ReUntil_2" << true << true << true << 0 << 2 << 0;
        // Option 1 switched off and option 3 on: a notice for each.
        QTest::newRow("light option 3, mouse off") << "ReUntil_3" << true << false << true << 0 << 1 << 2;
        QTest::newRow("light option 3, frame not ready") << "ReUntil_3" << true << true << false << 0 << 1 << 0;
    }
    void receiverChoices()
    {
        QFETCH(QString, box);
        QFETCH(bool, checked);
        QFETCH(bool, mouseOn);
        QFETCH(bool, ready);
        QFETCH(int, longRange);
        QFETCH(int, light);
        QFETCH(int, notices);
        QVERIFY(OpenReceiver());
        QVERIFY(SimDevice_SetReceiverLight("receiver", 1));
        QVERIFY(SimDevice_SetLongRange("receiver", 0));
        FormSetting page;
        DongleRGB record;
        record.option = 1;
        page.SlotRGBValue(&record);
        page.SlotLongRangeMode(false);
        QVERIFY(Child<QAbstractButton>(page, QStringLiteral("ReUntil"))->isChecked());

        SimDevice_SetPower("mouse", mouseOn ? 1 : 0);
        UiReady = ready;
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        Child<QAbstractButton>(page, box)->setChecked(checked);
        QCOMPARE(SimDevice_LongRange("receiver"), longRange);
        QCOMPARE(SimDevice_ReceiverLight("receiver"), light);
        QCOMPARE(offline.count(), notices);
        // A refused choice stays on the page until the device is read again.
        QCOMPARE(Child<QAbstractButton>(page, box)->isChecked(), checked);
    }

    // Long range switched off again, by a click.
    void longRangeOff()
    {
        QVERIFY(OpenReceiver());
        QVERIFY(SimDevice_SetLongRange("receiver", 1));
        FormSetting page;
        page.SlotLongRangeMode(true);
        UiReady = true;
        Child<QAbstractButton>(page, QStringLiteral("checkBox_2"))->click();
        QCOMPARE(SimDevice_LongRange("receiver"), 0);
    }

    // What the receiver reported is shown and never sent back: no write, no
    // offline notice while the mouse is off.
    void deviceStateIsNotEchoed()
    {
        QVERIFY(OpenReceiver());
        QVERIFY(SimDevice_SetReceiverLight("receiver", 1));
        QVERIFY(SimDevice_SetLongRange("receiver", 0));
        FormSetting page;
        SimDevice_SetPower("mouse", 0);
        UiReady = true;
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        page.SlotLongRangeMode(true);
        DongleRGB record;
        record.option = 2;
        page.SlotRGBValue(&record);
        record.option = 3;
        page.SlotRGBValue(&record);
        page.SlotFormResetForm();
        QCOMPARE(offline.count(), 0);
        QCOMPARE(SimDevice_LongRange("receiver"), 0);
        QCOMPARE(SimDevice_ReceiverLight("receiver"), 1);
        QVERIFY(!Child<QAbstractButton>(page, QStringLiteral("checkBox_2"))->isChecked());
        QVERIFY(Child<QAbstractButton>(page, QStringLiteral("ReUntil_3"))->isChecked());
        QVERIFY(!Child<QAbstractButton>(page, QStringLiteral("ReUntil_2"))->isChecked());
    }

    // The receiver-light record shows the rows and the long page only for a
    // model with the option behind a receiver of link type 1.
    void receiverLightRecord_data()
    {
        QTest::addColumn<int>("linkType");
        QTest::addColumn<bool>("wired");
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("rows");
        QTest::addColumn<QString>("checked");
        QTest::newRow("option 2") << 1 << false << 0 << 2 << true << "ReUntil_2";
        QTest::newRow("byte 0 = 4: no option") << 1 << false << 0 << 4 << true << "";
        QTest::newRow("wired") << 1 << true << 0 << 2 << false << "";
        QTest::newRow("link type 4") << 4 << false << 0 << 2 << false << "";
        QTest::newRow("model without the option (-1, -1)") << 1 << false << 1 << 2 << false << "";
        QTest::newRow("model without a list") << 1 << false << 5 << 2 << false << "";
    }
    void receiverLightRecord()
    {
        QFETCH(int, linkType);
        QFETCH(bool, wired);
        QFETCH(int, model);
        QFETCH(int, option);
        QFETCH(bool, rows);
        QFETCH(QString, checked);
        DeviceAllInfo device = ReceiverDevice();
        device.linkType = quint8(linkType);
        device.wired = wired;
        device.modelIndex = model;
        CurrentDevice.set(device);
        FormSetting page;
        DongleRGB record;
        record.option = quint8(option);
        page.SlotRGBValue(&record);
        QCOMPARE(ShownOf(page, ReceiverLightRows), rows ? ReceiverLightRows : QStringList());
        QCOMPARE(Content(page), QSize(880, rows ? 780 : 630));
        QCOMPARE(Child(page, QStringLiteral("pushButton_3"))->pos(), rows ? QPoint(610, 710) : QPoint(610, 540));
        QCOMPARE(Child(page, QStringLiteral("pushButton_4"))->pos(), rows ? QPoint(370, 730) : QPoint(370, 560));
        QStringList checkedBoxes;
        for (const char* name : {"ReUntil", "ReUntil_2", "ReUntil_3"}) {
            if (Child<QAbstractButton>(page, QLatin1String(name))->isChecked())
                checkedBoxes << QLatin1String(name);
        }
        QCOMPARE(checkedBoxes, checked.isEmpty() ? QStringList() : QStringList{checked});
    }

    // The layout slots per model and link: which optional rows stay, and
    // the short page.
    void layoutSlots_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("wired");
        QTest::addColumn<QString>("slots_");
        QTest::addColumn<QStringList>("shown");
        // Model 1 "1, 2": long range; model 2 "-1, -1"; model 6: no list.
        QTest::newRow("long range after a read") << 0 << false << "Form" << LongRangeRows;
        QTest::newRow("after an apply: rows stay hidden") << 0 << false << "FormB" << QStringList();
        QTest::newRow("after a read, then an apply") << 0 << false << "Form FormB" << LongRangeRows;
        QTest::newRow("model without options") << 1 << false << "Form" << QStringList();
        QTest::newRow("model without options, after long range")
            << 1 << false << "LongRange Form" << QStringList();
        QTest::newRow("model without a list") << 5 << false << "Form" << QStringList();
        QTest::newRow("wired") << 0 << true << "Light LongRange Form" << QStringList();
        QTest::newRow("wired, apply") << 0 << true << "Light LongRange FormB" << QStringList();
        // The worker sends the light record before the layout.
        QTest::newRow("light rows stay after their read") << 0 << false << "Light Form"
                                                           << LongRangeRows + ReceiverLightRows;
        QTest::newRow("another device's light rows go") << 0 << false << "Light Other Form" << LongRangeRows;
        QTest::newRow("reset") << 0 << false << "Light Form Reset" << QStringList();
    }
    void layoutSlots()
    {
        QFETCH(int, model);
        QFETCH(bool, wired);
        QFETCH(QString, slots_);
        QFETCH(QStringList, shown);
        FormSetting page;
        // The light rows need the light record of a receiver link.
        DeviceAllInfo device = ReceiverDevice();
        device.modelIndex = model;
        CurrentDevice.set(device);
        for (const QString& slot : slots_.split(QLatin1Char(' '))) {
            if (slot == QLatin1String("Light")) {
                DongleRGB record;
                record.option = 1;
                page.SlotRGBValue(&record);
                if (wired) {
                    device.wired = true;
                    device.linkType = 2;
                    CurrentDevice.set(device);
                }
            } else if (slot == QLatin1String("Other")) {
                device.path = QStringLiteral("another receiver");
                CurrentDevice.set(device);
            } else if (slot == QLatin1String("LongRange")) {
                page.SlotLongRangeMode(true);
            } else if (slot == QLatin1String("Form")) {
                page.SlotForm();
            } else if (slot == QLatin1String("FormB")) {
                page.SlotFormB();
            } else {
                page.SlotFormResetForm();
            }
        }
        QCOMPARE(ShownOf(page, LongRangeRows + ReceiverLightRows), shown);
        const bool longPage = shown.contains(QStringLiteral("ReUntil"));
        QCOMPARE(Content(page), QSize(880, longPage ? 780 : 630));
        QCOMPARE(Child(page, QStringLiteral("pushButton_3"))->pos(), longPage ? QPoint(610, 710) : QPoint(610, 540));
    }

    // The mouse's light-off time in the hidden light-off frame: the entry of
    // that many seconds, shown without writing; other times change nothing.
    void lightOffTime_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("entry");
        QTest::newRow("10 s") << 10 << 0;
        QTest::newRow("60 s, the reset's") << 60 << 2;
        QTest::newRow("2400 s") << 2400 << 10;
        QTest::newRow("45 s: unchanged") << 45 << 4;
        QTest::newRow("0: unchanged") << 0 << 4;
    }
    void lightOffTime()
    {
        QFETCH(int, seconds);
        QFETCH(int, entry);
        QVERIFY(OpenMouseForWrites());
        FormSetting page;
        page.SlotLightToFrom(600);
        page.SlotLightToFrom(seconds);
        QCOMPARE(Child<QComboBox>(page, QStringLiteral("StopClose"))->currentIndex(), entry);
        QCOMPARE(SimDevice_WriteCount("mouse"), 0);
        QVERIFY(Child(page, QStringLiteral("frameClose"))->isHidden());
    }

    // The version rows and the update look after the firmware version was
    // read, with images of version v1.2 for the mouse and every receiver
    // kind of model 1.
    void versionRead_data()
    {
        QTest::addColumn<DeviceAllInfo>("device");
        QTest::addColumn<QList<DeviceAllInfo>>("found");
        QTest::addColumn<QString>("receiver");
        QTest::addColumn<QString>("mouse");
        QTest::addColumn<bool>("receiverNew");
        QTest::addColumn<bool>("mouseNew");
        QTest::addColumn<QString>("look");
        const DeviceAllInfo old = ReceiverDevice("v1.0", "v1.0");
        DeviceAllInfo offline = old;
        offline.online = false;
        DeviceAllInfo kind8 = old;
        kind8.linkType = 5;
        DeviceAllInfo unknownLink = old;
        unknownLink.linkType = 0x40;
        const DeviceAllInfo wired = WiredDevice("v1.0", "v1.0");
        const DeviceAllInfo wiredCurrent = WiredDevice("v1.0", "v1.2");
        QTest::newRow("behind its receiver") << old << QList<DeviceAllInfo>{old} << "v1.0" << "v1.0" << true << true
                                             << "wait";
        QTest::newRow("up to date") << ReceiverDevice("v1.2", "v1.2") << QList<DeviceAllInfo>{} << "v1.2" << "v1.2"
                                    << false << false << "confirm";
        QTest::newRow("offline: no mouse version") << offline << QList<DeviceAllInfo>{} << "v1.0" << "" << true
                                                   << false << "wait";
        QTest::newRow("receiver kind 8") << kind8 << QList<DeviceAllInfo>{} << "v1.0" << "v1.0" << true << true
                                         << "wait";
        QTest::newRow("no receiver kind") << unknownLink << QList<DeviceAllInfo>{} << "v1.0" << "v1.0" << false
                                          << true << "wait";
        QTest::newRow("wired, one device") << wiredCurrent << QList<DeviceAllInfo>{WithAddress(wiredCurrent)} << ""
                                           << "v1.2" << false << false << "confirm";
        QTest::newRow("two wired devices") << wiredCurrent
                                           << QList<DeviceAllInfo>{WithAddress(wired), WithAddress(wiredCurrent)}
                                           << "" << "v1.2" << false << false << "confirm";
        QTest::newRow("wired beside its receiver")
            << wiredCurrent << QList<DeviceAllInfo>{WithAddress(wiredCurrent), WithAddress(old)} << "v1.0" << "v1.2"
            << true << false << "wait";
        QTest::newRow("wired beside a receiver without address")
            << wiredCurrent << QList<DeviceAllInfo>{WithAddress(wiredCurrent), old} << "" << "v1.2" << false << false
            << "confirm";
    }
    void versionRead()
    {
        QFETCH(DeviceAllInfo, device);
        QFETCH(QList<DeviceAllInfo>, found);
        QFETCH(QString, receiver);
        QFETCH(QString, mouse);
        QFETCH(bool, receiverNew);
        QFETCH(bool, mouseNew);
        QFETCH(QString, look);
        const QString bin = dir_.filePath(QStringLiteral("bin-versions"));
        QDir().mkpath(bin);
        QVERIFY(WriteFirmwareImage(bin, "mouse.bin", FirmwareImages::MouseType, "TVM1-Mouse", 0x0102));
        for (const char* name : {"TVR1-1K", "TVR1-2K", "TVR1-4K", "TVR1-8K"})
            QVERIFY(WriteFirmwareImage(bin, QLatin1String(name) + ".bin", FirmwareImages::ReceiverType, name, 0x0102));
        FirmwareImages::SetFolder(bin);
        CurrentDevice.set(device);
        WorkerDeviceList.set(found);
        FormSetting page;
        page.SetVer(PostMsg::SetverVersionRead);
        QCOMPARE(Child<QLabel>(page, QStringLiteral("label_5"))->text(), receiver);
        QCOMPARE(Child<QLabel>(page, QStringLiteral("label_7"))->text(), mouse);
        QCOMPARE(ReceiverUpdateAvailable.load(), receiverNew);
        QCOMPARE(MouseUpdateAvailable.load(), mouseNew);
        QCOMPARE(Look(page), look);
    }

    // Without the firmware folder the flags and the look found before stay;
    // the versions are still shown.
    void versionReadWithoutFirmwareFolder()
    {
        const QString bin = dir_.filePath(QStringLiteral("bin-gone"));
        QDir().mkpath(bin);
        QVERIFY(WriteFirmwareImage(bin, "mouse.bin", FirmwareImages::MouseType, "TVM1-Mouse", 0x0102));
        FirmwareImages::SetFolder(bin);
        CurrentDevice.set(ReceiverDevice("v1.0", "v1.0"));
        FormSetting page;
        page.SetVer(PostMsg::SetverVersionRead);
        QCOMPARE(Look(page), QStringLiteral("wait"));
        QVERIFY(MouseUpdateAvailable);

        QVERIFY(QDir(bin).removeRecursively());
        CurrentDevice.set(ReceiverDevice("v1.1", "v1.2"));
        page.SetVer(PostMsg::SetverVersionRead);
        QCOMPARE(Look(page), QStringLiteral("wait"));
        QVERIFY(MouseUpdateAvailable);
        QCOMPARE(Child<QLabel>(page, QStringLiteral("label_7"))->text(), QStringLiteral("v1.2"));
    }

    // The other version states, the finished update, the chooser's record
    // with its flag ("true" exactly) and the new versions an update wrote.
    void versionStates()
    {
        CurrentDevice.set(ReceiverDevice("v1.0", "v1.0"));
        FormSetting page;
        auto* receiver = Child<QLabel>(page, QStringLiteral("label_5"));
        auto* mouse = Child<QLabel>(page, QStringLiteral("label_7"));
        auto* update = Child<QToolButton>(page, QStringLiteral("Receive_2"));
        QWidget* receiverMarker = Child(page, QStringLiteral("toolButton_2"));
        QWidget* mouseMarker = Child(page, QStringLiteral("toolButton_3"));

        page.SlotLabelTextB(QStringLiteral("v1.3"), QStringLiteral("true"));
        QCOMPARE(receiver->text(), QStringLiteral("v1.3"));
        QCOMPARE(Look(page), QStringLiteral("wait"));
        page.SlotLabelTextB(QStringLiteral("v1.4"), QStringLiteral("TRUE"));
        QCOMPARE(Look(page), QStringLiteral("confirm"));
        QCOMPARE(CurrentDevice.get().receiverVersion, QStringLiteral("v1.0"));

        page.SlotLabelText(0, QStringLiteral("v2.0"));
        page.SlotLabelText(1, QStringLiteral("v2.1"));
        page.SlotLabelText(2, QStringLiteral("v9.9"));
        QCOMPARE(receiver->text(), QStringLiteral("v2.0"));
        QCOMPARE(mouse->text(), QStringLiteral("v2.1"));
        QCOMPARE(CurrentDevice.get().receiverVersion, QStringLiteral("v2.0"));
        QCOMPARE(CurrentDevice.get().mouseVersion, QStringLiteral("v2.1"));

        page.SetVerText();
        QCOMPARE(update->text(), QStringLiteral("Up to date"));
        receiverMarker->show();
        mouseMarker->show();
        page.SetVer(PostMsg::SetverReceiverDone);
        QVERIFY(receiverMarker->isHidden());
        QVERIFY(!mouseMarker->isHidden());
        page.SetVer(PostMsg::SetverMouseDone);
        QVERIFY(mouseMarker->isHidden());
        receiverMarker->show();
        mouseMarker->show();
        page.SetVer(PostMsg::SetverDevicesChanged);
        QCOMPARE(update->text(), QStringLiteral("Update"));
        QVERIFY(receiverMarker->isHidden() && mouseMarker->isHidden());
        page.SetVer(3);
        QCOMPARE(receiver->text(), QStringLiteral("v2.0"));
        page.SetVer(PostMsg::SetverDeviceChosen);
        QCOMPARE(receiver->text(), QString());
        QCOMPARE(mouse->text(), QString());
    }

    // Start with the desktop session: the autostart entry and "Enable" follow
    // the box; an entry that cannot be written leaves both as they were, and
    // a notice says so.
    void sessionStart_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<bool>("entry");
        QTest::addColumn<QString>("enable");
        QTest::addColumn<bool>("checked");
        QTest::newRow("on") << true << false << true << "1" << true;
        QTest::newRow("off, never on") << false << false << false << "0" << false;
        QTest::newRow("on, autostart folder not writable") << true << true << false << "0" << false;
        QTest::newRow("off, entry cannot be removed") << false << true << true << "1" << true;
    }
    void sessionStart()
    {
        QFETCH(bool, on);
        QFETCH(bool, blocked);
        QFETCH(bool, entry);
        QFETCH(QString, enable);
        QFETCH(bool, checked);
        const QString folder = QFileInfo(AutoStart::EntryPath()).absolutePath();
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
        // Switching on: a file where the folder would be, nothing can be
        // written below it. Switching off: a folder holding a file where the
        // entry would be, which cannot be removed as a file.
        if (blocked && on)
            QVERIFY(Write(folder, "not a folder"));
        if (blocked && !on) {
            QVERIFY(QDir().mkpath(AutoStart::EntryPath()));
            QVERIFY(Write(AutoStart::EntryPath() + QStringLiteral("/kept"), "kept"));
        }
        Store("AutoStart", "Enable", on ? QStringLiteral("0") : QStringLiteral("1"));
        FormSetting page;
        auto* box = Child<QCheckBox>(page, QStringLiteral("checkBox"));
        QCOMPARE(box->isChecked(), !on);
        QString notice;
        ModalAnswer answer([&notice](QWidget* dialog) {
            notice = dialog->findChild<QLabel*>(QStringLiteral("label"))->text();
            dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        });
        box->click();
        if (blocked)
            QCOMPARE(notice, QStringLiteral("Starting with the desktop session could not be changed"));
        else
            answer.Cancel();
        QCOMPARE(QFile::exists(AutoStart::EntryPath()), entry);
        QCOMPARE(Stored("AutoStart", "Enable"), enable);
        QCOMPARE(box->isChecked(), checked);
        if (entry && !blocked)
            QVERIFY(AutoStart::IsEnabled());
        if (blocked && on)
            QVERIFY(QFile::remove(folder));
        if (blocked && !on)
            QVERIFY(QDir(AutoStart::EntryPath()).removeRecursively());
    }

    // The desktop's mouse settings that cannot be started and the web
    // address that no browser opens are told in the page's notice, in the
    // chosen language.
    void failedLinksTellTheUser_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("mouse settings") << "pushButton" << 0 << "The desktop mouse settings could not be opened";
        QTest::newRow("mouse settings, Russian") << "pushButton" << 4 << "Не удалось открыть настройки мыши";
        QTest::newRow("web address") << "pushButton_3" << 0
                                     << "The web address could not be opened: no web browser could be started";
        QTest::newRow("web address, Japanese") << "pushButton_3" << 5
                                               << "Webアドレスを開けませんでした。起動できるブラウザーがありません";
    }
    void failedLinksTellTheUser()
    {
        QFETCH(QString, button);
        QFETCH(int, language);
        QFETCH(QString, text);
        Store("Language", "Language", QString::number(language));
        // Nothing opens: no settings program, no handler of web addresses
        // (the test's platform opens none itself).
        MouseSettingsLauncher::SetLaunch([] { return false; });
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        const auto restore = qScopeGuard([this] {
            QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls_, "Open");
            QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls_, "Open");
            MouseSettingsLauncher::SetLaunch([this] {
                ++launches_;
                return true;
            });
        });
        if (button == QLatin1String("pushButton_3"))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("openUrl")));
        FormSetting page;
        QString notice;
        ModalAnswer answer([&notice](QWidget* dialog) {
            notice = dialog->findChild<QLabel*>(QStringLiteral("label"))->text();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Child<QPushButton>(page, button)->click();
        QCOMPARE(answer.DialogClass(), QStringLiteral("UpDateWarning"));
        QCOMPARE(notice, text);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // On and off again.
    void sessionStartOnAndOff()
    {
        FormSetting page;
        auto* box = Child<QCheckBox>(page, QStringLiteral("checkBox"));
        box->click();
        QVERIFY(QFile::exists(AutoStart::EntryPath()));
        box->click();
        QVERIFY(!QFile::exists(AutoStart::EntryPath()));
        QCOMPARE(Stored("AutoStart", "Enable"), QStringLiteral("0"));
        QVERIFY(!box->isChecked());
    }

    // A language chosen on the page is stored before any window reloads;
    // every window reloads, then the device list's language list follows.
    // The device list's choice only moves the page's list.
    void chooseLanguage()
    {
        FormSetting page;
        QStringList order;
        QObject receiver;
        connect(PostMsg::Instance(), &PostMsg::SigChangeLanguage, &receiver, [&order](int index) {
            order << QStringLiteral("reload %1 stored %2").arg(index).arg(Stored("Language", "Language"));
        });
        connect(PostMsg::Instance(), &PostMsg::SigLanguageSameA, &receiver,
                [&order](int index) { order << QStringLiteral("list %1").arg(index); });
        auto* languages = Child<QComboBox>(page, QStringLiteral("comboBox"));
        languages->setCurrentIndex(1);
        emit languages->activated(1);
        QCOMPARE(order, (QStringList{"reload 1 stored 1", "list 1"}));
        QCOMPARE(Child<QLabel>(page, QStringLiteral("label_2"))->text(), QStringLiteral("语言"));
        QCOMPARE(Child<QPushButton>(page, QStringLiteral("pushButton_3"))->text(), QStringLiteral("cn.talvire.example"));

        order.clear();
        page.SlotLanguageSameB(0);
        QCOMPARE(languages->currentIndex(), 0);
        // A language the list does not offer is named all the same.
        page.SlotLanguageSameB(4);
        QCOMPARE(BoxText(languages), QStringLiteral("Русский"));
        page.SlotLanguageSameB(1);
        QCOMPARE(BoxText(languages), QStringLiteral("简体中文"));
        QCOMPARE(order, QStringList());
        QCOMPARE(Stored("Language", "Language"), QStringLiteral("1"));
    }

    // The driver-version label stays in view while the long page scrolls.
    void scrollKeepsDriverLabel()
    {
        CurrentDevice.set(ReceiverDevice());
        FormSetting page;
        DongleRGB record;
        record.option = 1;
        page.SlotRGBValue(&record);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
        QScrollBar* bar = Child<QScrollArea>(page, QStringLiteral("scrollArea"))->verticalScrollBar();
        TRY_COMPARE(bar->maximum(), 150);
        bar->setValue(100);
        QCOMPARE(Child(page, QStringLiteral("label"))->pos(), QPoint(600, 130));
        bar->setValue(0);
        QCOMPARE(Child(page, QStringLiteral("label"))->pos(), QPoint(600, 30));
    }

    // Pairing: the dialog over the page's centre, moved 70 left and 30 up;
    // afterwards the worker follows the device changes again.
    void pairing()
    {
        QVERIFY(OpenReceiver());
        DeviceChosen = 1;
        FormSetting page;
        page.resize(883, 630);
        page.move(100, 80);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
        QPoint at;
        QSize size;
        ModalAnswer answer([&](QWidget* dialog) {
            at = dialog->pos();
            size = dialog->size();
            static_cast<QDialog*>(dialog)->reject();
        });
        // Sent on the library's change thread: taken on this one.
        QList<int> changes;
        QObject receiver;
        connect(PostMsg::Instance(), &PostMsg::SigSetver, &receiver, [&changes](int state) { changes << state; });
        Child<QPushButton>(page, QStringLiteral("pushButton_2"))->click();
        QCOMPARE(answer.DialogClass(), QStringLiteral("Match"));
        const QPoint corner = page.mapToGlobal(QPoint(0, 0));
        QCOMPARE(at, QPoint(corner.x() + (883 - size.width()) / 2 - 70, corner.y() + (630 - size.height()) / 2 - 30));
        // The worker's device-change callback is registered again: it runs
        // soon and announces the device change.
        TRY_VERIFY(!changes.isEmpty());
        QCOMPARE(changes.first(), int(PostMsg::SetverDevicesChanged));
        StopUsbChanged();
    }

    // A press on the page's ground goes no further (the frame under the page
    // must not take it).
    void pressOnGround()
    {
        QWidget frame;
        FormSetting page(&frame);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        press.ignore();
        QApplication::sendEvent(&page, &press);
        QVERIFY(press.isAccepted());
    }

    // The page as a person sees it: the short page and the long one with
    // the receiver-light rows, in English and in Chinese.
    void screenshots_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("longPage");
        QTest::newRow("English short") << 0 << false;
        QTest::newRow("English long") << 0 << true;
        QTest::newRow("Chinese short") << 1 << false;
        QTest::newRow("Chinese long") << 1 << true;
    }
    void screenshots()
    {
        QFETCH(int, language);
        QFETCH(bool, longPage);
        Store("Language", "Language", QString::number(language));
        CurrentDevice.set(ReceiverDevice("v1.0", "v1.2"));
        FormSetting page;
        page.SetVer(PostMsg::SetverVersionRead);
        page.SlotForm();
        page.SlotLongRangeMode(true);
        if (longPage) {
            DongleRGB record;
            record.option = 2;
            page.SlotRGBValue(&record);
        }
        // The page on the frame's dark ground.
        page.setPalette(StyleSheet::DarkPalette());
        page.setAutoFillBackground(true);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
        const QString name = QStringLiteral("settings-%1-%2")
                                 .arg(language == 0 ? QStringLiteral("english") : QStringLiteral("chinese"),
                                      longPage ? QStringLiteral("long") : QStringLiteral("short"));
        QVERIFY(!SaveScreenshot(&page, name).isEmpty());
        if (longPage) {
            Child<QScrollArea>(page, QStringLiteral("scrollArea"))->verticalScrollBar()->setValue(150);
            QVERIFY(!SaveScreenshot(&page, name + QStringLiteral("-scrolled")).isEmpty());
        }
    }
};

TALVIRE_TEST_MAIN(SettingsPageTest)
#include "test_settings_page.moc"
