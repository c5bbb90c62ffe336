#pragma once

#include "core/DeviceAllInfo.h"
#include "core/LanguageTexts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <memory>

class QLabel;
class mytoolButtonEnter;

namespace Ui {
class DialogChange;
}

// The device chooser: the first page of the top window. It lists the attached
// mice and receivers as picture buttons, three to a page, with the language
// list, the window buttons, the Repair button (while a failed firmware update
// waits to be repaired) and the new-firmware popup.
//
// The device library reports every change of the attached devices to
// UsbChangedCallback(); the chooser then finds and identifies the devices
// against the product description, keeps them in ShownDevices and
// IdentifiedDevices (SharedState.h) by the rules of DeviceListRules and builds
// the pages of what those rules leave. Everything but the callback's own entry
// runs on the GUI thread.
class DialogChange : public QWidget {
    Q_OBJECT
public:
    explicit DialogChange(QWidget* parent = nullptr);
    ~DialogChange() override;

    // The one chooser; null while there is none.
    static DialogChange* Chooser();
    // The pictures the chooser shows as it starts with one device found as
    // it usually is (a mouse online on its receiver): decoded ahead while the
    // program starts (PicturePreload).
    static QStringList PicturesAtStart();

    // The library's device-change callback; it may run on any thread. Its
    // work is done on the GUI thread: at once when called there, else queued
    // (several notices that arrive before it runs share one run).
    static void UsbChangedCallback();
    // Finds the devices of every product id and appends the identified ones
    // to ShownDevices and IdentifiedDevices.
    static void EnumerateDevices(const QString& vid, const QVector<QString>& pids);
    // Fills the identification of a record whose path is set; false when the
    // device is to be left out.
    static bool IdentifyDevice(DeviceAllInfo& info);
    // Reads the online state and address of listed device `index` again;
    // true when an address byte is not zero.
    static bool RefreshDeviceStatusBytes(int index);
    // Identifies listed device `index` again and redraws its button and
    // markers. An index outside the list changes nothing.
    static bool RefreshDeviceEntry(int index);
    // Throws the device pages away and builds them again from ShownDevices.
    static void BuildDevicePages();

    // The widgets of the current pages, index-aligned with ShownDevices
    // (except RateBadges, which only receivers have).
    static QList<mytoolButtonEnter*> DeviceButtons;
    static QList<QLabel*> OfflineMarkers;
    static QList<QLabel*> LinkIcons;
    static QList<QLabel*> RateBadges;

    // "Option"/"DeviceTotal" as read at construction: a record whose model
    // index equals it matches no model.
    int ModelCount() const { return modelCount_; }
    // Whether the devices have been listed once (the library's first
    // device-change notice handled).
    bool DevicesListed() const { return devicesListed_; }

signals:
    // A device is being picked, or the repair dialog opened: what they use is
    // built by the configuration frame (its pages, the device worker, the
    // update and repair dialog), which the top window then builds if it has
    // not yet. Sent before the selection's first bus signal.
    void FrameNeeded();

public slots:
    // Loads the chooser's texts from the language file of the index.
    void ChangeDialogLanguage(int index);
    // The language list follows a choice made elsewhere.
    void SlotSameLanguageA(int index);
    // true: the firmware is in order, Repair hidden, the connection prompt;
    // false: Repair shown with the repair prompt.
    void SlotUpDateButton(bool hide);
    // Return or Enter in the top window: closes the popup, or else starts
    // the repair while Repair is shown.
    void SlotEnterKey();
    void WindowClosedA();
    void WindowMinA();

    // A device button was clicked: the device of its number is opened, or
    // pairing, a question or a firmware notice comes first (SelectDevice).
    void slotButtonClicked();
    // The window's buttons, the language list and the popup.
    void on_CloseButton_clicked();
    void on_MinButton_clicked();
    void on_LeftButton_clicked();
    void on_RightButton_clicked();
    void on_CloseButton_2_clicked();
    void on_NewHong_clicked();
    void on_NoApear_clicked(bool checked);
    void on_Repair_clicked();
    void on_comboBox_activated(int index);

protected:
    void changeEvent(QEvent* event) override;

private:
    // The selection of listed device `index`; an index outside the list
    // only clears the settings page's version labels.
    void SelectDevice(int index);
    // Whether a device listed twice, or a receiver of no known model, should
    // be paired again; runs the pairing dialog, the question or the firmware
    // notice. True when the selection goes on.
    bool RePairCheck(const DeviceAllInfo& target);
    void OpenPairing(const DeviceAllInfo& target);
    // Makes the record the current device, shows the configuration frame and,
    // 150 ms later (the window keeps painting), starts the worker's pass.
    void OpenDevice(const DeviceAllInfo& record);
    // The callback's work, on the GUI thread.
    static void HandleDeviceChange();
    static void ReadDevices();
    // Shows or hides Repair, with the matching prompt on "label_2".
    void ShowRepair(bool pending);
    void SetOfflineTips();
    QString OfflineTips() const;
    // The rule of a device button or marker showing a picture of the folder.
    QString PictureRule(const QString& selector, const QString& picture) const;
    void DrawEntry(int index, const DeviceAllInfo& info);
    void ShowIdenticalDevicesNotice();
    // The language of that index in the language list's box.
    void ShowLanguage(int index);
    // Page of the device list in front, with its arrows.
    void ShowDevicePage(int page);

    Ui::DialogChange* ui;
    std::unique_ptr<LanguageTexts> language_;
    QString pictureFolder_;
    int modelCount_ = 0;
    // How often the top window went back to the device list; a pick whose
    // wait saw it go back ends there.
    int listShown_ = 0;
    bool devicesListed_ = false;
    // Texts of the language file.
    QString connectPrompt_;
    QString repairPrompt_;
    QString offlineTips1_;
    QString offlineTips2_;
};
