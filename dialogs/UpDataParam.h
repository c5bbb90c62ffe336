#pragma once

#include "core/FlashDataMap.h"
#include "core/LanguageTexts.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class UpDataParam;
}
class QTimer;

// "Please wait, we are updating the setting": the frameless modal notice that
// covers the configuration pages while a whole configuration reaches them.
// An opener starts the timer (StartTimer), sets the mode of the coming run and
// runs the dialog with exec(); 2500 ms later the dialog does the run's work
// (onTimeupDestroy) and closes itself. A run is one of:
// - apply (no mode set), after the worker has opened the device: wait until
//   the button and sensor pages have taken the device's configuration; when
//   the device delivered none, show its model's stored configuration instead;
// - import (SetImportMode, SetImportPath): check an exported configuration
//   file and, once the device has taken it, make it the live image and show
//   it on the pages; a refused file gets the InportFail notice;
// - wait-only (SetWaitOnlyMode), after a reset: wait for the pages.
// A run clears the mode it ran in, so a dialog kept for many runs starts each
// in the mode its opener sets. The text reads "importing" instead of
// "updating" while ImportActive is 1 (when built, or at a language change).
// GUI thread.
class UpDataParam : public QDialog {
    Q_OBJECT
public:
    explicit UpDataParam(QWidget* parent = nullptr);
    ~UpDataParam() override;

    // Starts the single-shot timer of the next run (2500 ms).
    void StartTimer();

    void SetImportMode(bool on);
    void SetImportPath(const QString& path);
    void SetWaitOnlyMode(bool on);
    bool ImportMode() const { return importMode_; }
    QString ImportPath() const { return importPath_; }
    bool WaitOnlyMode() const { return waitOnlyMode_; }

    // Checks an exported configuration file against the current device's
    // model: 0 accepted (the image is copied into *image), 1 the file cannot
    // be opened or is no whole configuration file, 2 it belongs to another
    // sensor or has a number of DPI stages the model does not allow. *image
    // is left as it was unless the file is accepted.
    static int ImportConfigFile(const QString& path, FlashDataMap* image);

public slots:
    // The work of one run; ends by closing the dialog.
    void onTimeupDestroy();
    void SlotChangeLanguage(int index);

private:
    void RunWaitOnly();
    void RunImport();
    void RunApply();
    // Up to 12 checks, 500 ms of event processing after each failed one:
    // true once both pages have reported that they took an image.
    static bool WaitForPages();
    // The three pages' signals with copies of the image, then the settings
    // page's rows.
    static void ShowOnPages(const FlashDataMap& image);
    // A device read for the first time gets its cache file.
    static void WriteFirstCacheFile();

    Ui::UpDataParam* ui;
    QString importPath_;
    bool importMode_ = false;
    bool waitOnlyMode_ = false;
    bool running_ = false;
    QTimer* timer_ = nullptr;
    QString pictureFolder_;
    std::unique_ptr<LanguageTexts> language_;
};
