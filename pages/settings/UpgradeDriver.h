#pragma once

#include "core/LanguageTexts.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QLabel;
class QTimer;
class QWidget;
class UpDateRepair;
class UpDateWarning;

// The settings page's firmware update of the receiver, then the mouse: the
// update check that decides whether an update can start and fills the update
// and repair dialog, and the step machine that upgrades one device per run,
// ticked by a 1000 ms timer per target. The page builds one and hands it its
// version labels, result markers and update button and passes on the bus
// signal SigCheckUpdate (SlotCheckUpdate); the driver makes the
// process-wide update and repair dialog (RepairDialog) when none exists.
//
// A run started from the dialog always ends in a final view: the library's
// result, or the reason nothing was updated. A start the library refuses, or
// a run that hears nothing for 60 s, ends as a failure. Before the library's
// start the record of the upgrade is on the disk; when it cannot be written
// the upgrade does not start and the user is told. GUI thread.
class UpgradeDriver : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QWidget* page = nullptr;
        QLabel* receiverVersion = nullptr;   // label_5
        QLabel* mouseVersion = nullptr;      // label_7
        QWidget* receiverMarker = nullptr;   // toolButton_2
        QWidget* mouseMarker = nullptr;      // toolButton_3
        QAbstractButton* updateButton = nullptr;  // Receive_2
    };

    explicit UpgradeDriver(const Widgets& widgets);
    ~UpgradeDriver() override;

    static constexpr int TickMs = 1000;
    static constexpr int SilenceLimitMs = 60000;

    // The page's devices changed: the up-to-date and running flags go.
    void ClearUpgradeFlags();
    // The update and repair dialog of the program.
    static UpDateRepair* Dialog();
    UpDateWarning* WarningDialog() const { return warningDialog.get(); }

    // The messages of the checks and runs, from the page's language element;
    // the window that owns the driver loads them with its own texts.
    QVector<LanguageTexts::Child> TextChildren();
    QString noDeviceText;
    QString sameDeviceText;
    QString verNewText;
    QString receiveText;
    QString noReceiverText;
    QString noUsbText;
    QString errorText;
    QString multiDongleText;
    QString multiMouseText;
    QString notRecordedText;

    // Upgrade state the page and the tests look at.
    bool receiverUpToDate = false;
    bool mouseUpToDate = false;
    bool mouseUpgrading = false;
    bool receiverUpgrading = false;
    bool chainedStart = false;
    int upgradeStep = 0;
    QStringList receiverPaths;
    QString driveGroup;
    QString failedReceiverModel;
    QString foundReceiverModel;
    int bootCountDM = 0;
    int bootCountD2M = 0;
    int bootCountD4M = 0;
    int bootCountD8M = 0;
    int mouseRepairPending = 0;
    QTimer* DongleCheckTimer = nullptr;
    QTimer* MouseCheckTimer = nullptr;

    // Small helpers nothing in the program calls.
    static void WaitMilliseconds(int ms);
    static void SetUpgradeRunning();
    void StopUpgradeTimers();
    static bool IsReceiverUpgrading();
    static bool IsMouseUpgrading();
    static bool IsAnyUpgrading();
    static bool SetReceiverIdToMiceB();
    static void WriteReceiverIdToMiceB();

signals:
    // The page's version display (1: a mouse run starts, 2: a receiver run).
    void SetVer(int state);

public slots:
    void on_Start();
    void on_Receive_clicked();
    void on_Mouse_clicked();
    void SlotContinue(int state);
    void onDongleCheckTimer();
    void onMouseCheckTimer();
    void on_Receive_2_clicked();
    bool ChechIsUpDate();
    void SlotCheckUpdate();

    void RunUpgrade(int step, int target, const QString& version);
    void OnReceiverUpgradeFinished();
    void OnMouseUpgradeFinished();

private:
    void StartRun(bool receiver);
    // The end operation of a run of the mouse or the receiver.
    void RunFinished(bool mouse);
    void DeviceCountFailure(bool mouse, int count);
    // The start's record could not be written: nothing started, the run and
    // the chain end, and the user is told.
    void NotRecorded(bool mouse);
    void ShowWarning(const QString& text);
    void ConfirmLook();
    void PlaceOverPage(QWidget* dialog) const;
    // A check's negative ending: the message and the no-update view.
    bool EndCheck(const QString& message);
    // Looks up a setting image of the current model group.
    bool LookUp(int type, const QString& version, const QString& key) const;
    int& BootCount(int kind);
    // When a run the dialog started has ended without a view of its result.
    void EndOfDialogRun();
    bool Running() const;

    Widgets w_;
    QString pictureDir;
    QString buttonColor;
    std::unique_ptr<UpDateWarning> warningDialog;
    int driveIndex_ = 0;

    // The run the dialog's start began: which targets ran, why one ended early.
    bool dialogRun_ = false;
    bool ranReceiver_ = false;
    bool ranMouse_ = false;
    QString endMessage_;
    bool notRecorded_ = false;
    // The wait for the library's result.
    int reportsSeen_ = 0;
    qint64 lastReportAt_ = 0;
};
