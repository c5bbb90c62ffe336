#include "pages/buttons/ConfigurationActions.h"

#include "core/ConfigurationFile.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "dialogs/ContainReset.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/FileChooser.h"
#include "dialogs/InportFail.h"
#include "dialogs/UpDataParam.h"

#include <QDebug>
#include <QTimer>

namespace {
// The import and reset dialogs sit this far from the page's centre.
constexpr int WaitDx = -75;
constexpr int WaitDy = -65;
} // namespace

bool ConfigurationActions::Export(QWidget* page, const QString& path, const FlashDataMap& image)
{
    if (ConfigurationFile::Export(path, image))
        return true;
    qWarning() << "button page: the configuration is not exported to" << path;
    InportFail notice;
    notice.ShowExportFailText();
    DialogPlacement::CentreOver(&notice, page, WaitDx, WaitDy);
    notice.exec();
    return false;
}

void ConfigurationActions::ChooseAndExport(QWidget* page)
{
    const QString path = FileChooser::SaveFile(page, FileChooser::Use::Configuration, QStringLiteral("FileSave"),
                                               QStringLiteral("File(*.bin)"));
    if (!path.isEmpty())
        Export(page, path, LiveFlashData.get());
}

bool ConfigurationActions::DeviceAnswers()
{
    return UsbFinderC_GetDeviceOnLine(CurrentDevicePath.get().constData()) != 0;
}

void ConfigurationActions::Import(QWidget* page)
{
    if (!DeviceAnswers()) {
        PostMsg::Instance()->PostMouseOffLineo(0);
        return;
    }
    const ScopedFlag busy(ApplyInProgress);
    const QString path = FileChooser::OpenFile(page, FileChooser::Use::Configuration, QStringLiteral("SelectFile"),
                                               QStringLiteral("File(*.bin)"));
    if (path.isEmpty())
        return;
    ImportActive = 1;
    UpDataParam wait;
    wait.StartTimer();
    wait.SetImportMode(true);
    wait.SetImportPath(path);
    DialogPlacement::CentreOver(&wait, page, WaitDx, WaitDy);
    wait.exec();
    ImportActive = 0;
}

void ConfigurationActions::Reset(QWidget* page)
{
    if (!DeviceAnswers()) {
        PostMsg::Instance()->PostMouseOffLineo(0);
        return;
    }
    ContainReset question;
    DialogPlacement::CentreOver(&question, page, WaitDx, WaitDy);
    question.exec();
    if (!question.Confirmed)
        return;
    const ScopedFlag busy(ApplyInProgress);
    QTimer* onlineCheck = Worker::OnlineCheckTimer();
    if (onlineCheck)
        onlineCheck->stop();
    UsbServer_SetBatteryOptimizeEnable(0);
    SendFlashData();
    UsbServer_SetClearSetting();
    {
        UpDataParam wait;
        wait.StartTimer();
        wait.SetWaitOnlyMode(true);
        if (Worker* worker = WorkerInstance.load())
            worker->RequestPass();
        DialogPlacement::CentreOver(&wait, page, WaitDx, WaitDy);
        wait.exec();
    }
    if (onlineCheck)
        onlineCheck->start();
}
