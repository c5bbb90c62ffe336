#include "dialogs/UpDataParam.h"

#include "core/ConfigurationFile.h"
#include "core/DebugLog.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "dialogs/InportFail.h"
#include "dialogs/MessageDialog.h"
#include "ui_UpDataParam.h"

#include <QTimer>

namespace {
constexpr int RunDelayMs = 2500;
constexpr int PageChecks = 12;
constexpr int PageCheckMs = 500;
constexpr int WaitOnlyPauseMs = 2000;
constexpr int ImportShowRounds = 5;
constexpr int ImportShowMs = 500;
} // namespace

UpDataParam::UpDataParam(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::UpDataParam)
    , pictureFolder_(StyleSheet::PictureFolder(QStringLiteral("WarningDialog")))
{
    ui->setupUi(this);
    LanguageTexts::Follow(this);
    setPalette(StyleSheet::DarkPalette());
    setWindowFlags(MessageDialog::FamilyFlags());
    ui->label->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    // The label spans the whole width: its text keeps an inner margin.
    ui->label->setWordWrap(true);
    ui->label->setContentsMargins(20, 0, 20, 0);
    ui->UpDataParamA->setStyleSheet(StyleSheet::BackgroundRule(ui->UpDataParamA->objectName(), pictureFolder_));

    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, SIGNAL(timeout()), this, SLOT(onTimeupDestroy()));

    QLabel* label = ui->label;
    language_ = std::make_unique<LanguageTexts>(
        QStringLiteral("UpDataParam"),
        QVector<LanguageTexts::Child>{
            {QStringLiteral("label"), LanguageTexts::WhenValue(ImportActive, 0, LanguageTexts::TextOf(label))},
            {QStringLiteral("label_1"), LanguageTexts::WhenValue(ImportActive, 1, LanguageTexts::TextOf(label))},
        });
    SlotChangeLanguage(LanguageTexts::StoredIndex());
}

UpDataParam::~UpDataParam()
{
    delete ui;
}

void UpDataParam::StartTimer()
{
    timer_->start(Timing::Ms(RunDelayMs));
}

void UpDataParam::SetImportMode(bool on)
{
    importMode_ = on;
}

void UpDataParam::SetImportPath(const QString& path)
{
    importPath_ = path;
}

void UpDataParam::SetWaitOnlyMode(bool on)
{
    waitOnlyMode_ = on;
}

void UpDataParam::SlotChangeLanguage(int index)
{
    language_->Load(index);
}

int UpDataParam::ImportConfigFile(const QString& path, FlashDataMap* image)
{
    return ConfigurationFile::Import(path, image);
}

void UpDataParam::onTimeupDestroy()
{
    // The waits of a run process events; a run asked for meanwhile starts
    // after this one instead of inside it.
    if (running_) {
        timer_->start();
        return;
    }
    running_ = true;
    PostMsg::Instance()->PostSetver(PostMsg::SetverDevicesChanged);
    if (waitOnlyMode_) {
        RunWaitOnly();
    } else {
        qCDebug(DebugLog) << "z";
        if (importMode_)
            RunImport();
        else
            RunApply();
    }
    running_ = false;
}

void UpDataParam::RunWaitOnly()
{
    const bool reported = WaitForPages();
    Timing::WaitMs(WaitOnlyPauseMs);
    waitOnlyMode_ = false;
    close();
    if (!reported)
        PostMsg::Instance()->PostMouseOffLineo(PostMsg::MouseOffLine);
}

void UpDataParam::RunImport()
{
    FlashDataMap image;
    const int result = ImportConfigFile(importPath_, &image);
    ImportFileResult = result;
    if (result == ConfigurationFile::Accepted) {
        // Only an image the device has taken is shown; otherwise the offline
        // notice comes and the live image stays as it was.
        if (SetWholeImage(image)) {
            ShowOnPages(image);
            for (int round = 0; round < ImportShowRounds; ++round)
                Timing::WaitMs(ImportShowMs);
        }
    } else {
        InportFail notice;
        notice.CentreOver(this);
        notice.exec();
    }
    importMode_ = false;
    importPath_.clear();
    close();
}

void UpDataParam::RunApply()
{
    PostMsg* const bus = PostMsg::Instance();
    if (!DeviceDataReady) {
        // The device delivered nothing: its model's stored configuration, if any.
        qCDebug(DebugLog) << "x";
        FlashDataMap cached;
        if (Worker::ReadDeviceInfoFile(CacheReadName.get(), &cached))
            ShowOnPages(cached);
        close();
        bus->PostMouseOffLineo(PostMsg::MouseOffLine);
        return;
    }
    qCDebug(DebugLog) << "v";
    const bool reported = WaitForPages();
    if (reported) {
        SensorPageFilled = false;
        ButtonPageFilled = false;
    }
    close();
    qCDebug(DebugLog) << "vvv";
    if (!reported)
        bus->PostMouseOffLineo(PostMsg::MouseTimedOut);
    qCDebug(DebugLog) << "vv";
    if (DeviceOnline)
        WriteFirstCacheFile();
}

bool UpDataParam::WaitForPages()
{
    for (int check = 0; check < PageChecks; ++check) {
        if (SensorPageFilled && ButtonPageFilled)
            return true;
        Timing::WaitMs(PageCheckMs);
    }
    return false;
}

void UpDataParam::ShowOnPages(const FlashDataMap& image)
{
    PostMsg* const bus = PostMsg::Instance();
    bus->PostUpDataLightUIA(image);
    bus->PostUpDataSensorUIB(image);
    bus->PostUpDataButtonUIC(image);
    bus->PostFormB();
}

void UpDataParam::WriteFirstCacheFile()
{
    QString readName;
    QString writeName;
    FlashDataMap image;
    {
        std::lock_guard<std::recursive_mutex> lock(CurrentDeviceMutex);
        // Only the device's own configuration goes into its file.
        if (!LiveFlashDataIsCurrent())
            return;
        readName = CacheReadName.get();
        writeName = CacheWriteName.get();
        image = LiveFlashData.get();
    }
    FlashDataMap stored;
    if (!Worker::ReadDeviceInfoFile(readName, &stored))
        Worker::WriteDeviceInfoFile(writeName, image);
}
