#pragma once

#include "core/DeviceAllInfo.h"
#include "core/FlashDataMap.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"

#include <QObject>
#include <QStringList>
#include <QtTest>

#include <atomic>
#include <memory>

// A simulated mouse opened the way the program opens it when the user picks
// it on the device list: the pick goes to the worker (the button page's, or
// one of this helper's own when no worker exists), the frame is asked for,
// UiReady is set as the top window sets it, the worker's device-change
// callback is registered, and after the pick's wait the worker's pass reads
// the device. Open() returns once the whole configuration has arrived. For
// page tests:
//
//     PickedMouse mouse;
//     QVERIFY2(mouse.Open(), qPrintable(mouse.Missing()));
//     ...the page's control...
//     QCOMPARE(int(mouse.Stored().sleepTime), 6);
//     QCOMPARE(mouse.Writes(), 1);
//
// With the whole frame in the test, its updating notice runs on its own
// after the read (its time scaled by the test). Going, the helper goes back
// to the device list as the top window does. GUI thread.
class PickedMouse {
public:
    // device: the scenario id of what is picked (the receiver, or the mouse
    // on its cable); mouse: the id of the mouse behind it.
    explicit PickedMouse(const char* device = "receiver", const char* mouse = "mouse")
        : device_(device)
        , mouse_(mouse)
    {
    }

    ~PickedMouse()
    {
        if (!opened_)
            return;
        StopUsbChanged();
        DeviceChosen = 0;
        PostMsg::Instance()->PostMainPageChange();
        UsbServer_Exit();
        if (ownWorker_ && !ownWorker_->StopAndWait(TestLimit(10000)))
            qWarning("PickedMouse: the worker's pass did not end");
    }

    PickedMouse(const PickedMouse&) = delete;
    PickedMouse& operator=(const PickedMouse&) = delete;

    // The pick; true once LiveFlashData holds the mouse's whole configuration
    // (LiveFlashDataIsCurrent), UiReady is set and the answers the whole read
    // asks for (DPI light, battery, version, onboard configurations) have
    // come. Missing() names what had not arrived when it gives up.
    bool Open(int timeoutMs = 10000)
    {
        opened_ = true;
        const DeviceAllInfo record = Found(device_.constData());
        if (record.path.isEmpty()) {
            missing_ = QStringLiteral("no device \"%1\" in the scenario").arg(QLatin1String(device_));
            return false;
        }
        for (std::atomic<bool>* answer : {&dpiLight_, &battery_, &version_, &configurations_})
            *answer = false;
        PostMsg* const bus = PostMsg::Instance();
        // Direct connections: the answers come on the library's threads.
        QObject::connect(bus, &PostMsg::SigUpDataDPILed, &listener_, [this] { dpiLight_ = true; },
                         Qt::DirectConnection);
        QObject::connect(bus, &PostMsg::SigBattery, &listener_, [this] { battery_ = true; }, Qt::DirectConnection);
        QObject::connect(bus, &PostMsg::SigSetver, &listener_, [this](int state) {
            if (state == PostMsg::SetverVersionRead)
                version_ = true;
        }, Qt::DirectConnection);
        QObject::connect(bus, &PostMsg::SigUpDataConfigUI, &listener_, [this] { configurations_ = true; },
                         Qt::DirectConnection);

        if (!WorkerInstance.load())
            ownWorker_ = std::make_unique<Worker>();
        bus->PostSelectMouseInfo(record);
        bus->PostChangeMainDialog(PostMsg::FramePage);
        UiReady = true;
        StartUsbChanged(&Worker::OnUsbChanged, 600);
        Timing::WaitMs(150);
        DeviceChosen = 1;
        if (Worker* const worker = WorkerInstance.load())
            worker->RequestPass();

        const bool arrived = QTest::qWaitFor([this] { return Missing().isEmpty(); }, timeoutMs);
        QObject::disconnect(bus, nullptr, &listener_, nullptr);
        writesAtOpen_ = SimDevice_WriteCount(mouse_.constData());
        return arrived;
    }

    // What Open() still waited for; "" once everything has arrived.
    QString Missing() const
    {
        if (!missing_.isEmpty())
            return missing_;
        QStringList missing;
        if (!LiveFlashDataIsCurrent())
            missing << QStringLiteral("the whole configuration");
        if (!UiReady)
            missing << QStringLiteral("UiReady");
        if (!dpiLight_)
            missing << QStringLiteral("the DPI light");
        if (!battery_)
            missing << QStringLiteral("the battery level");
        if (!version_)
            missing << QStringLiteral("the version");
        if (!configurations_)
            missing << QStringLiteral("the onboard configurations");
        return missing.isEmpty() ? QString() : QStringLiteral("not arrived: ") + missing.join(QStringLiteral(", "));
    }

    // What the mouse holds: its current device block, as the program's image.
    FlashDataMap Stored() const { return StoredImage(mouse_.constData()); }
    QByteArray StoredBlock() const { return ::StoredBlock(mouse_.constData()); }
    // The whole-image writes the mouse has taken since Open() returned (the
    // read itself writes the image back once).
    int Writes() const { return SimDevice_WriteCount(mouse_.constData()) - writesAtOpen_; }

private:
    QByteArray device_;
    QByteArray mouse_;
    bool opened_ = false;
    QString missing_;
    QObject listener_;
    std::unique_ptr<Worker> ownWorker_;
    int writesAtOpen_ = 0;
    std::atomic<bool> dpiLight_{false};
    std::atomic<bool> battery_{false};
    std::atomic<bool> version_{false};
    std::atomic<bool> configurations_{false};
};
