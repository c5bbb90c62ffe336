#pragma once

#include "core/FlashDataMap.h"

#include <QString>
#include <QWidget>

namespace Ui {
class Buttoninterface;
}
class Worker;

// The button assignment page, the first page of the configuration frame. It
// makes the device worker (the one Worker, WorkerInstance) and stops it again
// when it goes, and it takes the whole images the worker reads: while it fills
// its widgets from one, ButtonPageLoading keeps the setters quiet, and
// ButtonPageFilled tells the apply dialog that the page has taken the image.
class Buttoninterface : public QWidget {
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget* parent = nullptr);
    // Leaves the bus, stops the worker without waiting unbounded for a pass
    // that waits for the GUI thread, and stops the device-change notices.
    ~Buttoninterface() override;

    // <program folder>/Picture/Buttoninterface/.
    QString PictureDir() const { return pictureDir_; }

public slots:
    // A whole image read from the device (blocking: the sender waits): clears
    // ButtonPageFilled, fills the page, then sets it.
    void SlotUpDataButtonUIButton(FlashDataMap image);
    // An imported image: fills the page, ButtonPageFilled untouched.
    void SlotUpDataButtonUIB(FlashDataMap image);
    // The device's onboard configurations: count, the current one, whether
    // the choice is enabled.
    void SlotUpDataConfigUI(int count, int current, bool enabled);
    // Neither device data nor a stored image: the default functions.
    void SlotFormResetButton();
    // The macro folder changed.
    void SlotAddMacroButton();
    // The chosen model: the mouse picture behind the buttons.
    void SlotMouseIndex(int index);

private:
    // Fills the page's widgets from the image, with ButtonPageLoading set.
    void ShowImage(const FlashDataMap& image);

    Ui::Buttoninterface* ui;
    QString pictureDir_;
    Worker* worker_ = nullptr;
};
