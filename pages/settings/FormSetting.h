#pragma once

#include "core/DongleRGB.h"
#include "core/LanguageTexts.h"

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class FormSetting;
}
class UpDateWarning;

// The settings page, the fourth page built by the configuration frame. It
// takes the versions and receiver options the worker reports, and its language
// element gives the process-wide WiredModeText that the top window and the
// firmware notices show.
class FormSetting : public QWidget {
    Q_OBJECT
public:
    explicit FormSetting(QWidget* parent = nullptr);
    ~FormSetting() override;

public slots:
    // 0 after a version report, 4 at a device change or apply run, 6 when a
    // device is chosen.
    void SetVer(int state);
    // The receiver's version, and "true" when newer firmware exists.
    void SlotLabelTextB(QString version, QString flag);
    // The receiver-light record the worker read (blocking: the sender waits).
    void SlotRGBValue(DongleRGB* record);
    // The receiver's long-range mode (blocking).
    void SlotLongRangeMode(bool on);
    // The rows of the model's receiver options, after a whole read (blocking)
    // or an import.
    void SlotForm();
    void SlotFormB();
    // Neither device data nor a stored image: the receiver rows hidden
    // (blocking).
    void SlotFormResetForm();
    // Boot-mode devices were found while the update dialog shows.
    void SlotCheckUpdate();
    // The chooser's language list changed: the page's list follows.
    void SlotLanguageSameB(int index);
    void SlotChangeLanguage(int index);

private:
    Ui::FormSetting* ui;
    // The firmware notice the page keeps and shows without waiting.
    std::unique_ptr<UpDateWarning> warning_;
    QString noDeviceText_;
    QString sameDeviceText_;
    std::unique_ptr<LanguageTexts> language_;
};
