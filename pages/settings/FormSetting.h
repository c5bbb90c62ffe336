#pragma once

#include "core/DongleRGB.h"
#include "core/LanguageTexts.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class FormSetting;
}
class QAbstractButton;
class QButtonGroup;
class QMouseEvent;
class UpgradeDriver;

// The settings page, the fourth page built by the configuration frame:
// language, start with the desktop session, the desktop's mouse settings,
// pairing, the receiver's long-range mode and light option where the model
// and its link have them, the receiver and mouse firmware versions with the
// update look, and the company line and web address at its foot. Its
// language element also gives the process-wide WiredModeText that the top
// window and the firmware notices show. GUI thread.
class FormSetting : public QWidget {
    Q_OBJECT
public:
    explicit FormSetting(QWidget* parent = nullptr);
    ~FormSetting() override;

    // The page's heights: the short page, and the long one that has room for
    // the receiver-light rows.
    static constexpr int ShortPageHeight = 630;
    static constexpr int LongPageHeight = 780;
    static constexpr int PageWidth = 880;

    // The page's firmware update (for the windows' tests).
    UpgradeDriver* Upgrade() const;

    // The form has no objects of these names: nothing calls them.
    void on_toolButton_4_clicked() {}
    void on_pushButton_5_clicked() {}

public slots:
    // The desktop's mouse settings program.
    void on_pushButton_clicked();
    // The web address the button shows, in the desktop's browser.
    void on_pushButton_3_clicked();
    // Pairing a mouse with the receiver.
    void on_pushButton_2_clicked();
    // An update has finished: the update button says the firmware is current.
    void SetVerText();
    // A language chosen on the page: stored, every window reloads, the
    // device list's language list follows.
    void on_comboBox_activated(int index);
    void SlotChangeLanguage(int index);
    // The device list's language list changed: the page's list follows.
    void SlotLanguageSameB(int index);
    // The receiver-light record the worker read (blocking: the sender waits).
    void SlotRGBValue(DongleRGB* record);
    // The mouse's light-off time in seconds.
    void SlotLightToFrom(int seconds);
    // The receiver's long-range mode (blocking).
    void SlotLongRangeMode(bool on);
    // An update wrote a new version: 0 the receiver's, 1 the mouse's.
    void SlotLabelText(int which, QString text);
    // The receiver's version, and "true" when other firmware exists.
    void SlotLabelTextB(QString version, QString flag);
    // The content scrolled: the driver-version label stays in view.
    void SlotScroolChange(int value);
    // 0 the firmware version was read, 1/2 a receiver/mouse update ended, 4
    // the devices changed or a configuration was applied, 6 a device chosen.
    void SetVer(int state);
    // The rows of the model's receiver options, after a whole read (blocking)
    // or an applied configuration.
    void SlotForm();
    void SlotFormB();
    // Neither device data nor a stored image: the optional rows go
    // (blocking).
    void SlotFormResetForm();
    // Boot-mode devices were found while the update dialog shows.
    void SlotCheckUpdate();
    // Start with the desktop session.
    void on_checkBox_clicked(bool checked);
    // The long-range box changed state.
    void on_checkBox_2_toggled(bool checked);
    void on_checkBox_2_clicked(bool checked);
    // The three receiver light options.
    void on_ReUntil_toggled(bool checked);
    void on_ReUntil_2_toggled(bool checked);
    void on_ReUntil_3_toggled(bool checked);

protected:
    // A press on the page's ground is taken here and changes nothing.
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ApplyStyles();
    void MakeUpgradeDriver();
    void ConnectBus();
    void SetUpLanguageTexts();
    // The company line and web address of the current language.
    void LoadCompanyTexts();
    void PlaceVersionRows(int index);

    void ShowLongRangeRows(bool show);
    void ShowReceiverLightRows(bool show);
    void SetShortPage();
    void SetLongPage();
    // The rules of the two layout slots; showLongRange: a model with long
    // range shows its rows.
    void ApplyModelRows(bool showLongRange);
    // Sets check boxes from device state: their toggle slots do not run.
    static void SetCheckedQuietly(QAbstractButton* box, bool checked);
    void SetReceiverLightQuietly(int option);

    // The update button's two looks.
    void ShowWaitUpdateLook();
    void ShowConfirmLook();

    // A receiver light option changed state.
    void ReceiverLightToggled(int option, bool checked);
    // Whether the current device answers; when it does not, the top
    // window's offline notice is asked for.
    static bool DeviceAnswersOrNotice();
    // Tells the user that an action of the page failed: a notice over the
    // page, closed by its button or Return.
    void ShowFailure(const QString& text);

    Ui::FormSetting* ui;
    QString pictureDir;
    // The firmware update of the receiver and the mouse, with the update
    // and repair dialog, the two upgrade timers and the page's notice.
    UpgradeDriver* upgrade_ = nullptr;
    // Where the driver-version label sits when the page is built.
    QPoint labelPos;
    QButtonGroup* lightGroup = nullptr;
    // "ButtonColor" as "r,g,b": the text of the pairing and update buttons.
    QString buttonColor;
    // The device whose light record showed the receiver-light rows; empty
    // while they are hidden.
    QString lightRowsDevice_;
    std::unique_ptr<LanguageTexts> language_;
    std::unique_ptr<LanguageTexts> companyTexts_;
    // The failure notices' texts.
    QString mouseSettingsFailText_;
    QString webFailText_;
    QString autoStartFailText_;
};
