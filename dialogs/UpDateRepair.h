#pragma once

#include "core/LanguageTexts.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class UpDateRepair;
}

// The firmware update and repair dialog. It shows the settings page's update
// (the page fills it through the views and the bus) and repairs an update that
// failed: the record "Mouse Drive Test/UpdateFailInfo" names the device, the
// check matches it against the listed devices and the images, and the start
// upgrades the receiver, then the mouse. The settings page keeps one instance
// for the program's life (RepairDialog); the top window runs one on the stack
// for its Space key. Every instance follows the bus's reports.
//
// Views: ready (start and cancel), no update (a message and the confirm
// button), upgrading (the bar; close and cancel disabled), and the endings of
// SlotProgress and SlotAutoRepair. While progress reports of a repair come,
// close, cancel and Escape do nothing.
class UpDateRepair : public QDialog {
    Q_OBJECT
public:
    explicit UpDateRepair(QWidget* parent = nullptr);
    ~UpDateRepair() override;

    // Views.
    Q_INVOKABLE void ResetView();
    void ShowUpdateReady();
    void ShowNoUpdate();
    void ShowUpgrading();
    void SetMessage(const QString& text);
    void HideCancelAndProgress();

    // The repair check: true when an upgrade can start.
    bool CheckUpdate();
    // Starts the prepared repair; nothing unless a check (or the automatic
    // start) prepared one.
    void StartUpgrade();
    // The top window's start: prepares a run of the receiver of the one
    // listed wireless device and starts it.
    void StartAutoUpgrade(int stage);

    // For tests: the texts the language file gave.
    QString ConfirmText() const { return confirmText_; }
    bool Ready() const { return ready_; }

public slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    // The ending's text (PostMsg::AutoRepairEnding): the success, the
    // update that did not start because its record could not be saved, or
    // (any other code) the failure.
    void SlotAutoRepair(int code);
    void SlotAutoRepairProgress(int value);
    void SlotChangeLanguage(int index);
    // state 0 the bar's value; 1 failure; 2 success; 3 cancel hidden; 4 cancel
    // hidden, bar 0; 5 failure with the bar at 50; 6 failure.
    void SlotProgress(int value, int state);
    void on_NewHong_2_clicked();
    void SlotRepairCheckUpdate();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Close and cancel.
    void Dismiss();
    void SetShortcuts();
    // The cancel button, shown with its text of the language file.
    void ShowCancel();
    void ShowMessage(const QString& text);
    // A check's negative ending: the message and the no-update view.
    bool NoUpdate(const QString& message);
    // The automatic start's preparation from the one listed wireless device.
    bool PrepareReceiverRun();

    Ui::UpDateRepair* ui;
    QString pictureFolder_;
    std::unique_ptr<LanguageTexts> language_;
    QString startText_;
    QString cancelText_;
    QString confirmText_;
    QString readyText_;
    QString notMoveText_;
    QString successText_;
    QString failText_;
    QString noDeviceText_;
    QString sameDeviceText_;
    QString noReceiveText_;
    QString noUsbText_;
    QString fileErrorText_;
    QString multiDongleText_;
    QString multiMouseText_;
    QString errorText_;
    QString error2Text_;
    QString notRecordedText_;

    bool auto_ = false;
    int autoStage_ = 0;
    bool ready_ = false;
    int failedType_ = 0;
    QString receiverModelName_;
    QString modelGroup_;
    int modelIndex_ = 0;
};
