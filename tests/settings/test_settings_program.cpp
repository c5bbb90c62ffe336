// The settings page in the whole program on the simulated receiver and mouse,
// used as a person uses it: the mouse opened from the device list, the page
// chosen in the frame; the versions and the receiver's rows as the devices
// report them; long range and a light option reach the receiver; Chinese
// reloads every window and is what a new start finds; start with the desktop
// session comes and goes with the box.
#include "core/FirmwareImages.h"
#include "core/LanguageTexts.h"
#include "core/MacroIni.h"
#include "core/SharedState.h"
#include "core/Timing.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/UpDataParam.h"
#include "pages/settings/FormSetting.h"
#include "platform/AutoStart.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "shell/mytoolButtonEnter.h"
#include "tests/common/FirmwareImageFiles.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const int Patience = TestLimit(15000);
} // namespace

class SettingsProgramTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DialogMain> window;
    QTemporaryDir bin_;

    template <class T = QWidget>
    T* PageChild(const char* name)
    {
        auto* page = window->Frame()->findChild<FormSetting*>();
        return page ? page->findChild<T*>(QLatin1String(name)) : nullptr;
    }

    // Clicks the device's button once the list shows it, waits for its whole
    // configuration and its versions, then shows the settings page.
    bool OpenSettings()
    {
        if (!QTest::qWaitFor([] { return DialogChange::DeviceButtons.size() == 1; }, Patience))
            return false;
        QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        if (!QTest::qWaitFor([this] { return LiveFlashDataIsCurrent() && !PageChild<QLabel>("label_7")->text().isEmpty(); },
                             Patience))
            return false;
        auto* button = window->Frame()->findChild<QAbstractButton*>(QStringLiteral("FormSetting"));
        QTest::mouseClick(button, Qt::LeftButton);
        return QTest::qWaitFor([this] { return !window->Frame()->ApplyDialog()->isVisible(); }, Patience);
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        Timing::SetScale(0.1);
        QVERIFY(bin_.isValid());
        // Images of other versions than the scenario's devices have.
        QVERIFY(WriteFirmwareImage(bin_.path(), "mouse.bin", FirmwareImages::MouseType, "TVM1-Mouse", 0x0109));
        QVERIFY(WriteFirmwareImage(bin_.path(), "receiver.bin", FirmwareImages::ReceiverType, "TVR1-4K", 0x0109));
        FirmwareImages::SetFolder(bin_.path());
    }

    void init()
    {
        // The library's threads stop first: an answer of the last test still
        // due would meet the state as it is reset.
        QVERIFY(SimDevice_Reset());
        ResetSharedState();
        MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("0"));
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()));
    }

    void cleanup()
    {
        window.reset();
        UsbLibrary_Shutdown();
    }

    void usingThePage()
    {
        QVERIFY(SimDevice_SetReceiverLight("receiver", 1));
        QVERIFY(SimDevice_SetLongRange("receiver", 0));
        QVERIFY(OpenSettings());
        auto* stack = window->Frame()->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"));
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("FormSetting"));
        QVERIFY(!PageChild<QLabel>("label_5")->text().isEmpty());
        QVERIFY(ReceiverUpdateAvailable);
        QVERIFY(MouseUpdateAvailable);
        QVERIFY(PageChild("Receive_2")->styleSheet().contains(QStringLiteral("WaitUpdate.png")));
        TRY_VERIFY(PageChild("checkBox_2")->isVisible());
        TRY_VERIFY(PageChild("ReUntil")->isVisible());
        QVERIFY(PageChild<QAbstractButton>("ReUntil")->isChecked());
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("settings-program")).isEmpty());

        QTest::mouseClick(PageChild<QAbstractButton>("checkBox_2"), Qt::LeftButton);
        QCOMPARE(SimDevice_LongRange("receiver"), 1);
        QTest::mouseClick(PageChild<QAbstractButton>("ReUntil_3"), Qt::LeftButton);
        QCOMPARE(SimDevice_ReceiverLight("receiver"), 3);

        QTest::mouseClick(PageChild<QAbstractButton>("checkBox"), Qt::LeftButton);
        QVERIFY(AutoStart::IsEnabled());
        QTest::mouseClick(PageChild<QAbstractButton>("checkBox"), Qt::LeftButton);
        QVERIFY(!QFile::exists(AutoStart::EntryPath()));

        // Chinese: every window reloads; a new start finds it.
        auto* languages = PageChild<QComboBox>("comboBox");
        languages->setCurrentIndex(1);
        emit languages->activated(1);
        QCOMPARE(PageChild<QLabel>("label_2")->text(), QStringLiteral("语言"));
        QCOMPARE(window->findChild<DialogChange*>()->findChild<QLabel*>(QStringLiteral("label_2"))->text(),
                 QStringLiteral("请接入你的游戏装备"));
        QCOMPARE(LanguageTexts::StoredIndex(), 1);
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("settings-program-chinese")).isEmpty());
        window.reset();
        UsbLibrary_Shutdown();
        QVERIFY(MacroIni::Instance()->Flush());
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(OpenSettings());
        QCOMPARE(PageChild<QLabel>("label_2")->text(), QStringLiteral("语言"));
        QCOMPARE(PageChild<QComboBox>("comboBox")->currentIndex(), 1);
    }
};

TALVIRE_TEST_MAIN(SettingsProgramTest)
#include "test_settings_program.moc"
