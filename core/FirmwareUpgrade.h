#pragma once

#include "devicelib/DIVAza.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>

// The settings page's firmware upgrade of the receiver and the mouse, as far
// as it is no window: the upgrade state of each target, the status callbacks
// the device library calls on its upgrade thread, the record of a failed
// upgrade ("Mouse Drive Test/UpdateFailInfo"), the mouse version it keeps and
// the upgrade log. Every value here may be read and written on any thread.

// Upgrade state of one target (FirmwareUpgrade::State).
extern std::atomic<int> ReceiverUpgradeState;
extern std::atomic<int> MouseUpgradeState;
// Receiver kind (1, 2, 4, 8; 0 none) of the current run or check.
extern std::atomic<int> ReceiverKind;
// Customer id of the product and model id of the current model, as the run read them.
extern std::atomic<int> SettingCid;
extern std::atomic<int> SettingMid;
// The target (210, 211) of the last start.
extern std::atomic<int> UpgradeTarget;
// 2 when the last update check found upgrades for both devices: the receiver
// then fills the bar to 50, the mouse from 50 to 100.
extern std::atomic<int> SettingStageCount;

// The status callbacks of a receiver run (A) and of a mouse run (B); both act
// alike. Progress moves the dialogs' bar, a success records the new version,
// a failure appends the library's log, records the failed target and shows the
// failure. Results count only while a target is upgrading (state 1).
void UpgradeStatusCallbackA(UpgradeStatusPacket* packet);
void UpgradeStatusCallbackB(UpgradeStatusPacket* packet);

class FirmwareUpgrade {
public:
    enum State { Idle = 0, Upgrading = 1, Succeeded = 2, Failed = 3, NothingNewer = 4 };
    static constexpr int StartTimeoutMs = 10000;  // the value every start hands the library
    static constexpr int LogLines = DIVAZA_UPGRADE_LOG_LINES;

    enum StartResult { Started, Refused, NotRecorded };
    // Puts the record of an interrupted upgrade (FailRecordOf) on the disk,
    // flushed and checked, then hands a copy of the image to UsbUpgrade_Start
    // and holds it until the library has taken a later image (so the buffer
    // outlives the upgrade): a crash or a power loss during the upgrade leaves
    // the record that offers the repair. The version of the image becomes
    // StartedVersionText(). NotRecorded, with nothing started and the record
    // as it was, when the record cannot be written; Refused when the image is
    // empty or the library refused the start.
    static StartResult Start(const QByteArray& image, UpgradeStatusCallback callback, const QString& record);
    // The version text ("v1.6") of the image of the last start.
    static QString StartedVersionText();
    // How many reports (progress or result) have come since the program
    // started: a wait sees from it whether the library still reports.
    static int ReportCount();

    // The number of devices in boot mode that the image fits; 0 for no image.
    static int BootCount(const QByteArray& image);
    // The version text of a receiver read from the device, "" when it cannot be read.
    static QString SlaveVersion(const QString& path);

    // The failed upgrade's record: its text and its parts ("" and none when absent).
    static QString FailRecordText();
    static QStringList FailRecordParts();
    // "<target>,<kind>,<cid>,<mid>" in decimal.
    static QString FailRecordOf(int target, int kind, int cid, int mid);
    // The record is written and removed in the flushed form: false (logged)
    // when the change is not on the disk.
    static bool WriteFailRecord(int target, int kind, int cid, int mid);
    static bool RemoveFailRecord();
    // Puts back a record read before (absent when text is empty).
    static bool RestoreFailRecord(const QString& text);

    // Appends the library's 8 log lines of the last upgrade to the upgrade log;
    // false when the file cannot be written (the lines are then lost).
    static bool AppendLog();
    static QString LogFileName();

    // The failure of the running target(s): log, both update flags cleared,
    // state 3, the failure view, the record of UpgradeTarget. Does nothing
    // (false) unless a target was upgrading, so a failure is handled once.
    static bool Fail();

private:
    static void Status(const UpgradeStatusPacket* packet);
    friend void UpgradeStatusCallbackA(UpgradeStatusPacket* packet);
    friend void UpgradeStatusCallbackB(UpgradeStatusPacket* packet);
};
