#pragma once

#include "core/DeviceListRules.h"
#include "core/FirmwareImages.h"
#include "core/FirmwareUpgrade.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/RepairUpgrade.h"
#include "core/SharedState.h"
#include "dialogs/UpDateRepair.h"
#include "platform/IniText.h"
#include "platform/Registry.h"
#include "platform/SettingsWriter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <thread>

// What the update and repair dialog shows: its buttons, message and bar.
struct RepairView {
    bool startShown = false;
    QString startText;
    bool cancelShown = false;
    bool cancelEnabled = true;
    bool closeEnabled = true;
    bool messageShown = false;
    QString message;
    bool barShown = false;
    int bar = 0;

    static RepairView Of(UpDateRepair& dialog)
    {
        const auto button = [&dialog](const char* name) {
            return dialog.findChild<QAbstractButton*>(QLatin1String(name));
        };
        const auto* label = dialog.findChild<QLabel*>(QStringLiteral("ToolText_2"));
        const auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("progressBar_2"));
        RepairView view;
        view.startShown = button("NewHong_2")->isVisibleTo(&dialog);
        view.startText = button("NewHong_2")->text();
        view.cancelShown = button("NewHong")->isVisibleTo(&dialog);
        view.cancelEnabled = button("NewHong")->isEnabled();
        view.closeEnabled = button("CloseButton")->isEnabled();
        view.messageShown = label->isVisibleTo(&dialog);
        view.message = label->text();
        view.barShown = bar->isVisibleTo(&dialog);
        view.bar = bar->value();
        return view;
    }

    bool operator==(const RepairView& o) const
    {
        return startShown == o.startShown && startText == o.startText && cancelShown == o.cancelShown
            && cancelEnabled == o.cancelEnabled && closeEnabled == o.closeEnabled && messageShown == o.messageShown
            && message == o.message && barShown == o.barShown && bar == o.bar;
    }
};

namespace QTest {
template <>
inline char* toString(const RepairView& v)
{
    return qstrdup(QStringLiteral("start %1 '%2', cancel %3 %4, close %5, message %6 '%7', bar %8 %9")
                       .arg(v.startShown ? "shown" : "hidden", v.startText, v.cancelShown ? "shown" : "hidden",
                            v.cancelEnabled ? "enabled" : "disabled", v.closeEnabled ? "enabled" : "disabled",
                            v.messageShown ? "shown" : "hidden", v.message, v.barShown ? "shown" : "hidden")
                       .arg(v.bar)
                       .toUtf8()
                       .constData());
}
} // namespace QTest
Q_DECLARE_METATYPE(RepairView)

// The English texts of the dialog.
namespace RepairTexts {
const QString Start = QStringLiteral("Update");
const QString Cancel = QStringLiteral("Cancel");
const QString Confirm = QStringLiteral("OK");
const QString Ready = QStringLiteral("A firmware update is ready. Click Update to start.");
const QString Upgrading = QStringLiteral("Updating. Do not move or unplug the devices.");
const QString Success = QStringLiteral("Firmware update complete.");
const QString Fail = QStringLiteral("Firmware update failed.");
const QString NoDevice = QStringLiteral("No device to update was found.");
const QString SameDevice = QStringLiteral("More than one device to update was found. Leave only one connected.");
const QString NoRecieve = QStringLiteral("Connect the mouse through its receiver.");
const QString NoUsb = QStringLiteral("Connect the mouse by its USB cable.");
const QString FileError = QStringLiteral("No firmware file for this device was found.");
const QString MultiDongle = QStringLiteral("More than one receiver is connected. Leave only one plugged in.");
const QString MultiMouse = QStringLiteral("More than one mouse is connected by cable. Leave only one connected.");
} // namespace RepairTexts

// The sample images the build writes beside the program.
inline QString SampleImageFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/bin");
}

// A folder with some of the sample images (by file name); the lookups use it.
class ImageFolder {
public:
    explicit ImageFolder(const QStringList& names)
    {
        for (const QString& name : names)
            QFile::copy(SampleImageFolder() + QLatin1Char('/') + name, dir_.filePath(name));
        FirmwareImages::SetFolder(dir_.path());
    }
    ~ImageFolder() { FirmwareImages::SetFolder(QString()); }
    ImageFolder(const ImageFolder&) = delete;
    ImageFolder& operator=(const ImageFolder&) = delete;

private:
    QTemporaryDir dir_;
};

inline const QString MouseImage = QStringLiteral("TVM1-Mouse_v1.6.bin");
inline const QString Receiver4KImage = QStringLiteral("TVR1-4K_v1.3.bin");
inline const QString Receiver1KImage = QStringLiteral("TVR1-1K_v1.3.bin");

inline void SetFailRecord(const QString& text)
{
    if (text.isEmpty())
        Registry::Instance()->RemoveKey(Registry::UpdateFailInfoKey());
    else
        Registry::Instance()->SetValue(Registry::UpdateFailInfoKey(), text);
}

inline QString FailRecord()
{
    return Registry::Instance()->GetValue(Registry::UpdateFailInfoKey());
}

// The upgrade and repair state of a fresh program.
inline void ResetUpgradeState()
{
    ReceiverUpgradeState = 0;
    MouseUpgradeState = 0;
    ReceiverKind = 0;
    SettingCid = 0;
    SettingMid = 0;
    UpgradeTarget = 0;
    SettingStageCount = 1;
    RepairUpgrading = false;
    RepairUpgradeRunning = false;
    RepairStage = 0;
    RepairStageCount = 1;
    RepairFailedStage = 0;
    RepairReceiverKind = 0;
    RepairCid = 0;
    RepairMid = 0;
    RepairMouseListed = false;
    RepairReceiverOnly = false;
    DeviceWatchEnabled = true;
    DeviceChosen = 0;
    MouseUpdateAvailable = false;
    ReceiverUpdateAvailable = false;
    IdentifiedDevices.clear();
    ShownDevices.clear();
    SetFailRecord(QString());
    DeviceListRules::ReadProductIds(ProductDescription::Instance());
}

// The lines of the upgrade log; 0 when there is none.
inline int LogLineCount()
{
    QFile file(FirmwareUpgrade::LogFileName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    return file.readAll().count('\n');
}

// The record as the registry file on the disk holds it (what a crash leaves).
inline QString FailRecordOnDisk()
{
    QVariantMap values;
    IniText::Read(Registry::Instance()->FileName(), &values);
    const QVariant value = values.value(Registry::UpdateFailInfoKey());
    return value.type() == QVariant::StringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
}

// While it lives, no file of this process can grow: the settings folder is
// as good as full (a write stops with EFBIG; SIGXFSZ is ignored). Lowers the
// soft limit only, so the old one comes back.
class FullDisk {
public:
    FullDisk()
    {
        // What waits for the writer is written before the disk fills.
        Registry::Instance()->Flush();
        getrlimit(RLIMIT_FSIZE, &old_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit full = old_;
        full.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, handler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit old_ {};
    void (*handler_)(int) = SIG_DFL;
};

// Holds the settings writer with a job of its own until someone waits for
// it (the limit only a ceiling): a change made meanwhile reaches the disk only
// after it, unless the caller waits for the disk.
inline void HoldSettingsWriter()
{
    SettingsWriter::Instance()->Post([] { SettingsWriter::Instance()->HoldUntilDrained(10000); });
}
