#pragma once

#include "core/LanguageTexts.h"

#include <QDialog>
#include <QString>

#include <atomic>
#include <memory>

class QTimer;

namespace Ui {
class Match;
}

// The pairing dialog: pairs a mouse with a USB receiver. It shows an
// instruction and one start button (also the Space key). Starting opens the
// receiver with the dialog's own report callback and asks it to accept a
// mouse of the product's customer id; while the attempt runs the caption
// animates and a check every second makes sure the receiver is still there.
// The outcome arrives as a pairing report (type 6) on the device library's
// report thread and reaches the dialog through the bus.
//
// Every opener constructs it without a parent, calls InitPairing() once,
// places it, runs exec() and destroys it. An opener on the configuration frame
// then calls HandBackToWorker(). The dialog pairs, first match wins: the
// current device while DeviceChosen is 1, PairingTarget while
// UsePairingTarget is set, else the first listed device.
class Match : public QDialog {
    Q_OBJECT
public:
    // Where an attempt stands (PairState).
    enum { Idle = 0, Pairing = 1, Paired = 2, Failed = 3 };

    explicit Match(QWidget* parent = nullptr);
    ~Match() override;

    // Chooses the target and resets the dialog; once, after construction.
    void InitPairing();

    // The report callback handed to the device library while pairing; runs on
    // the library's report thread.
    static void PairCallback(const unsigned char* header, int headerLength, const unsigned char* data,
                             int dataLength);

    // For openers on the configuration frame, once the dialog has closed: the
    // worker follows device changes again and the current device's reports go
    // to the worker again.
    static void HandBackToWorker();

    // Process-wide state of the attempts, shared with the report callback.
    static std::atomic<int> PairState;
    static std::atomic<bool> PairStarted;
    // An attempt started on the configuration frame cleared DeviceChosen; its
    // end gives it back.
    static std::atomic<bool> RestoreDeviceChosen;
    // The step of the caption animation (GUI thread); only InitPairing resets it.
    static int CaptionStep;

    // What InitPairing chose.
    bool allowed() const { return allowed_; }
    QString targetPath() const { return targetPath_; }
    bool targetWired() const { return targetWired_; }
    quint8 cid() const { return cid_; }

public slots:
    // The close button: ignored while an attempt runs.
    void WindowClosedSet();
    void on_MatchButton_clicked();
    // Every second while pairing: asks for the status and checks that the
    // receiver is still listed.
    void onPairTimeupDestroy();
    // Every 100 ms: whether pairing may start (the target is wireless).
    void onUSBTimeupDestroy();
    // Every 500 ms while pairing: the caption animation.
    void onTextTimeupDestroy();
    void SlotStopTimer();
    // 1: paired; 0: failed.
    void SlotButtonenable(int ok);
    void SlotChangeLanguage(int index);

public:
    // The dialog ends (Escape, the window closed, or its own close): an
    // attempt still running ends with it.
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    // What the button shows.
    enum class Caption { Start, Matching, Failure, Success };

    void StartPairing();
    // Ends the attempt this dialog runs, if one runs: stops its timers and
    // gives DeviceChosen back.
    void EndAttempt();
    void ShowCaption(Caption caption);
    void SetButtonText(const QString& text);
    // Styles the start button with a picture of the folder; disabled (grey)
    // text while pairing cannot start.
    void StyleButton(const QString& picture, bool disabled = false);
    static void GiveBackDeviceChosen();

    Ui::Match* ui;
    bool allowed_ = false;
    QString devicePath_;
    quint8 cid_ = 0;
    QString targetPath_;
    QString targetVid_;
    QString targetPid_;
    bool targetWired_ = false;
    bool hasTarget_ = false;
    // The target is the current device of the configuration frame.
    bool fromFrame_ = false;
    bool spaceKey_ = false;
    Caption caption_ = Caption::Start;
    QString buttonText_;
    QString matchingText_;
    QString failText_;
    QString successText_;
    QString buttonColour_;      // "r,g,b" of "ButtonColor"
    QString pictureFolder_;     // <program folder>/Picture/Setting/
    QString buttonStyle_;
    QTimer* usbTimer_ = nullptr;
    QTimer* pairTimer_ = nullptr;
    QTimer* captionTimer_ = nullptr;
    std::unique_ptr<LanguageTexts> language_;
};
