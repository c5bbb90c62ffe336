#pragma once

#include <QString>
#include <QWidget>

namespace Ui {
class Dialog;
}
class QButtonGroup;
class QTimer;
class Buttoninterface;
class CrashHandler;
class FormSetting;
class Macro;
class Sensor;
class UpDataParam;

// The configuration frame: the second page of the top window, shown while a
// device is chosen. It holds the four configuration pages in a stack, a column
// of page buttons, the battery display of the device and the window buttons:
// back to the device list, minimise, close. Its buttons are pictures of
// "/Picture/Dialog/"; it has no texts of its own.
class Dialog : public QWidget {
    Q_OBJECT
public:
    // PagesLater: only the frame itself; BuildNextPage() then builds the
    // pages one at a time (so that the window handles its events between).
    enum Pages { PagesNow, PagesLater };
    explicit Dialog(QWidget* parent = nullptr, Pages pages = PagesNow);
    ~Dialog() override;

    // <program folder>/Picture/Dialog/.
    QString PictureFolder() const { return pictureFolder_; }
    // The apply dialog of the worker's passes.
    UpDataParam* ApplyDialog() const { return apply_; }

    // The battery bar's style sheets: above 15 green, at 15 and below red.
    static QString BatteryRule(int level);

    // Builds the next page not built yet.
    void BuildNextPage();
    // Builds every page not built yet.
    void BuildPages();
    bool PagesBuilt() const;

    // Makes the frame and each of its pages ready to show while they are not
    // shown (MakeReadyToShow), one of them per turn of the event loop when
    // neither the device is read nor a dialog runs, so that showing one the
    // first time costs what showing it again does. Called again (a device's
    // configuration has shown rows of the pages), it prepares again what is
    // not shown, after a preparation still under way.
    void PreparePages();
    // Whether the last preparation asked for has finished.
    bool PagesPrepared() const { return pagesPrepared_; }
    // What the pages still hold back for the mouse (a saved macro waiting
    // for its pause) goes now: the frame is being left.
    void SendPendingWrites();

public slots:
    // As the close button.
    void WindowClosed();
    // The minimise button: the top window goes to the tray.
    void WindowMin();
    void on_ButtonMain_clicked();
    void on_SensorButton_clicked();
    void on_MacroButton_clicked();
    void on_LightsButton_clicked();
    void on_SetButton_clicked();
    // Back to the device list.
    void on_UpArrow_clicked();
    // The button page comes to the front.
    void SlotSecondDialog();
    // The worker opened the device: the apply dialog covers the pages until
    // the configuration has arrived (mode 1: it only waits for the pages).
    void SlotUpDataParam(int mode);
    // 0: a macro recording starts, the page buttons are disabled; 1: it ended.
    void SlotStartRecord(int state);
    // The device's battery report (blocking: the reporting thread waits).
    void SlotBattery(bool charging, int level, bool showValue);
    void SlotMouseIndex(int index);
    // Stores the configuration of the device and closes the program.
    void on_CloseButton_clicked();
    void on_FormSetting_clicked();

protected:
    // Escape and F12 do nothing here.
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The live image into the device cache file of its model.
    void WriteCache();
    // The frame (index -1) or page prepareIndex_ made ready, then the next.
    void PrepareNext();

    Ui::Dialog* ui;
    QButtonGroup* pageButtons_ = nullptr;
    Buttoninterface* buttonPage_ = nullptr;
    Macro* macroPage_ = nullptr;
    Sensor* sensorPage_ = nullptr;
    FormSetting* settingsPage_ = nullptr;
    // Kept for every run while the program runs; no parent.
    UpDataParam* apply_ = nullptr;
    CrashHandler* crashHandler_ = nullptr;
    QString pictureFolder_;
    QTimer* prepareStep_ = nullptr;
    int prepareIndex_ = -1;
    bool preparing_ = false;
    bool prepareAgain_ = false;
    bool pagesPrepared_ = false;
};
