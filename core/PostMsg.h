#pragma once

#include "core/DeviceAllInfo.h"
#include "core/DongleRGB.h"
#include "core/FlashDataMap.h"

#include <QObject>
#include <QString>

// The process-wide signal bus between the pages, the dialogs, the worker and the
// device library's callbacks: signals only, each with a send method. Receivers
// connect to Instance(); the signals that carry an image, the receiver-light
// record or device state from another thread are connected with
// Qt::BlockingQueuedConnection, so the sender waits until the slot has run.
class PostMsg : public QObject {
    Q_OBJECT
public:
    // The one bus, made on first use.
    static PostMsg* Instance();
    // Connects a bus signal to a receiver's slot by their names (SIGNAL(...),
    // SLOT(...)); a name that matches nothing is reported as a warning and
    // gives false.
    static bool Connect(const char* signal, const QObject* receiver, const char* slot,
                        Qt::ConnectionType type = Qt::AutoConnection);

    // The integer codes the bus carries; the signals keep their int arguments.

    // SigChangeMainDialog(page): the page of the top window to show (also
    // its page index).
    enum MainDialogPage { ChooserPage = 0, FramePage = 1 };
    // SigChangeSize(mode): how the top window leaves the screen.
    enum ChangeSizeMode {
        FrameToTray = 0,    // the frame's minimise: the utility is declared absent
        FrameClose = 1,     // the frame's close: declared absent, then the program ends
        ChooserToTray = 2,  // the chooser's minimise
        ChooserClose = 3,   // the chooser's close
    };
    // SigSetver(state): what the settings page does with its version rows.
    enum SetverState {
        SetverVersionRead = 0,     // the mouse's firmware version was read: show the versions
        SetverReceiverDone = 1,    // a receiver update ended: hide its result marker
        SetverMouseDone = 2,       // a mouse update ended: hide its result marker
        SetverDevicesChanged = 4,  // the devices changed or a configuration was applied
        SetverDeviceChosen = 6,    // a device was picked: empty the version labels
    };
    // SigUpDataParam(mode): why the frame shows the apply dialog.
    enum UpDataParamMode {
        ParamDeviceOpened = 0,   // the worker opened the device: apply what it reads
        ParamDeviceChanged = 1,  // the device changed its configuration itself: wait only
    };
    // SigMouseOffLineo(reason): which notice the top window shows.
    enum MouseOffLineReason { MouseOffLine = 0, MouseTimedOut = 1 };
    // SigAutoRepair(code): which ending the update and repair dialogs tell
    // (any other code tells the failure).
    enum AutoRepairEnding { AutoRepairSucceeded = 0, AutoRepairFailed = 1, AutoRepairNotRecorded = 2 };

    void PostChangeMainDialog(int page);
    void PostChangeSize(int mode);
    void PostUpDataConfigUI(int count, int current, bool enabled);
    void PostUpDataLightUIButton(const FlashDataMap& image);
    void PostUpDataLightLight(const FlashDataMap& image);
    void PostUpDataLightSensor(const FlashDataMap& image);
    void PostUpDataLightUIA(const FlashDataMap& image);
    void PostUpDataSensorUIB(const FlashDataMap& image);
    void PostUpDataButtonUIC(const FlashDataMap& image);
    void PostButtonToMacro(const FlashDataMap& image, int button);
    void PostSelectMouseInfo(const DeviceAllInfo& info);
    void PostMouseOffLineo(int reason);
    void PostMainPageChange();
    void PostSecondPageChange();
    void PostUpPageLight();
    void PostAddMacroButton();
    void PostDeleteMacroButton(const QString& name);
    void PostMacroDownLoadData(const QString& name, int button);
    void PostUpDataMacro(const QString& name, int button);
    void PostUpDataParam(int mode);
    void PostUpDataReportRate(int code);
    void PostUpDataDPI(int stage);
    void PostUpDataDPILed(const FlashDataMap& image);
    void PostTimerStop();
    void PostButtonEnable(int state);
    void PostLabelText(int index, const QString& text);
    void PostLabelTextB(const QString& text, const QString& flag);
    void PostCloseUpdate();
    void PostProgress(int value, int kind);
    void PostBattery(bool charging, int level, bool showValue);
    void PostAutoRepair(int state);
    void PostAutoRepairProgress(int value);
    void PostChangeLanguage(int index);
    void PostLanguageSameA(int index);
    void PostLanguageSameB(int index);
    void PostCloseOffOnline();
    void PostSetMacroPage();
    void PostStartRecord(int state);
    void PostUpDateButton(bool hide);
    void PostMacroRename(const QString& oldName, const QString& newName);
    void PostSetver(int state);
    void PostCloseProgress();
    void PostRGBValue(DongleRGB* record);
    void PostLongRangeMode(bool on);
    void PostForm();
    void PostFormB();
    void PostEnterKey();
    void PostFormReset();
    void PostHideModel(int hide);
    void PostContinue(int state);
    void PostMouseIndex(int index);
    void PostUpdateStart();
    void PostCheckUpdate();
    void PostRepairCheckUpdate();
    void PostSetNewVer();
    void PostLightToFrom(int seconds);

signals:
    void SigChangeMainDialog(int page);
    void SigChangeSize(int mode);
    void SigUpDataConfigUI(int count, int current, bool enabled);
    void SigUpDataLightUIButton(const FlashDataMap& image);
    void SigUpDataLightLight(const FlashDataMap& image);
    void SigUpDataLightSensor(const FlashDataMap& image);
    void SigUpDataLightUIA(const FlashDataMap& image);
    void SigUpDataSensorUIB(const FlashDataMap& image);
    void SigUpDataButtonUIC(const FlashDataMap& image);
    void SigButtonToMacro(const FlashDataMap& image, int button);
    void SigSelectMouseInfo(const DeviceAllInfo& info);
    void SigMouseOffLineo(int reason);
    void SigMainPageChange();
    void SigSecondPageChange();
    void SigUpPageLight();
    void SigAddMacroButton();
    void SigDeleteMacroButton(const QString& name);
    void SigMacroDownLoadData(const QString& name, int button);
    void SigUpDataMacro(const QString& name, int button);
    void SigUpDataParam(int mode);
    void SigUpDataReportRate(int code);
    void SigUpDataDPI(int stage);
    void SigUpDataDPILed(const FlashDataMap& image);
    void SigTimerStop();
    void SigButtonEnable(int state);
    void SigLabelText(int index, const QString& text);
    void SigLabelTextB(const QString& text, const QString& flag);
    void SigCloseUpdate();
    void SigProgress(int value, int kind);
    void SigBattery(bool charging, int level, bool showValue);
    void SigAutoRepair(int state);
    void SigAutoRepairProgress(int value);
    void SigChangeLanguage(int index);
    void SigLanguageSameA(int index);
    void SigLanguageSameB(int index);
    void SigCloseOffOnline();
    void SigSetMacroPage();
    void SigStartRecord(int state);
    void SigUpDateButton(bool hide);
    void SigMacroRename(const QString& oldName, const QString& newName);
    void SigSetver(int state);
    void SigCloseProgress();
    void SigRGBValue(DongleRGB* record);
    void SigLongRangeMode(bool on);
    void SigForm();
    void SigFormB();
    void SigEnterKey();
    void SigFormReset();
    void SigHideModel(int hide);
    void SigContinue(int state);
    void SigMouseIndex(int index);
    void SigUpdateStart();
    void SigCheckUpdate();
    void SigRepairCheckUpdate();
    void SigSetNewVer();
    void SigLightToFrom(int seconds);

private:
    explicit PostMsg(QObject* parent = nullptr);

    // Around a send whose receivers are connected with a blocking queued
    // connection (only do something in ThreadSanitizer builds).
    template <typename Signal>
    void MarkBlockingSignal(Signal signal);
    template <typename Signal>
    bool HasReceivers(Signal signal) const;
    template <typename Signal>
    void BeforeBlockingSend(Signal signal);
    template <typename Signal>
    void AfterBlockingSend(Signal signal);
};
