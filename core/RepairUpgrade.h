#pragma once

#include "core/DeviceAllInfo.h"
#include "core/FirmwareUpgrade.h"
#include "core/Guarded.h"
#include "devicelib/DIVAza.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>

// The repair of an interrupted firmware update, as far as it is no window:
// the state the update and repair dialogs share with the status callback,
// which runs on the device library's upgrade thread. A repair upgrades the
// receiver (stage 0), then the mouse (stage 1); RepairUpgradeRunning
// (SharedState.h) is set from the start until the run has ended.

// Progress reports are coming: the dialogs cannot be closed meanwhile.
extern std::atomic<bool> RepairUpgrading;
// Stage of the running repair: 0 receiver, 1 mouse.
extern std::atomic<int> RepairStage;
// 2 when the check found a receiver image and a mouse image: the bar is split.
extern std::atomic<int> RepairStageCount;
// The stage of the recorded failure: 0 receiver, 1 mouse; -1 for a run that
// repairs nothing recorded.
extern std::atomic<int> RepairFailedStage;
extern std::atomic<int> RepairReceiverKind;
extern std::atomic<int> RepairCid;
extern std::atomic<int> RepairMid;
// The mouse model name ("MM") of the model the record names.
extern Guarded<QString> RepairMouseModel;
// The parts of the record as the last check read them.
extern Guarded<QStringList> RepairFailParts;
// The last check saw a mouse on its cable of the model's MID listed: the mouse
// stage may follow a receiver stage. (The callback cannot read the chooser's
// list, which belongs to the GUI thread.)
extern std::atomic<bool> RepairMouseListed;
// The run updates the receiver alone (the top window's Space key): a good
// receiver stage ends the run as a success.
extern std::atomic<bool> RepairReceiverOnly;
// The record of a failed upgrade as it was when the run began: a good stage
// of another device than the one it names puts it back (each stage's start
// records its own device first).
extern Guarded<QString> RepairRecordBefore;

// The status callback of the repair path.
void RepairUpgradeStatusCallback(UpgradeStatusPacket* packet);

class RepairUpgrade {
public:
    // Records the running stage's device on the disk, then hands the image to
    // the library with the repair callback (FirmwareUpgrade::Start).
    static FirmwareUpgrade::StartResult Start(const QByteArray& image);
    // The failed ending: failure texts and view, Repair stays, the device
    // watch on again. Writes the record of the running stage when asked.
    // Does nothing (false) unless a repair runs, so a failure is handled once.
    static bool Fail(bool writeRecord);
    // The ending of a start whose record could not be written: the failed
    // ending, with the text that says the update did not start.
    static bool FailUnrecorded();
    // Starts the image; when it does not start, the run ends as failed.
    // A refused start then records the stage's device when writeRecord is
    // set, else puts back the record the run began with.
    static bool StartOrFail(const QByteArray& image, bool writeRecord);
    // The good ending: success texts and view, Repair hidden.
    static bool Succeed();

    // Receiver id transfer (nothing in the program calls them; GUI thread).
    // Reads each listed receiver's address and writes it, as a 5-byte id,
    // into each listed mouse on its cable; the result of the last read.
    static bool SetReceiverIdToMice();
    // Writes the last address read again; nothing when none was read.
    static void WriteReceiverIdToMice();
    // The transfer over a device list for a receiver kind: the 5-byte id
    // (address bytes 9, 8, 7 of the answer, 0, the kind's byte) of each
    // receiver that answers, written into each mouse on its cable. *read:
    // whether the last receiver answered; *bytes: its address (emptied
    // once sent). Returns *read.
    static bool TransferReceiverId(const QList<DeviceAllInfo>& devices, int kind, bool* read, QList<quint8>* bytes);
    // Writes an id of those address bytes; nothing for fewer than three.
    static void WriteReceiverId(const QList<DeviceAllInfo>& devices, int kind, const QList<quint8>& bytes);
};
