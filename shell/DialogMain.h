#pragma once

#include "core/LanguageTexts.h"

#include <QDialog>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

namespace Ui {
class DialogMain;
}
class QAction;
class QMenu;
class Dialog;
class DialogChange;

// The program's only top-level window: frameless and of fixed size, it stacks
// the device chooser (page 0, in front at start) and the configuration frame
// (page 1), switches between them on the bus's request, goes to the tray and
// closes the device link when the user leaves. Its keys (Space, Return, Enter,
// Escape, F12) are shortcuts for the whole program; on the frame, Space pairs
// even while a control that would take it has the focus (a drop-down list, a
// button, a list), unless a text field is being typed in.
//
// Where the desktop has no system tray, "to the tray" minimises the window
// instead, so that the user keeps a way back to it.
class DialogMain : public QDialog {
    Q_OBJECT
public:
    explicit DialogMain(QWidget* parent = nullptr);
    ~DialogMain() override;

    // The pictures the window shows as it starts (its icon and the
    // chooser's), for PicturePreload.
    static QStringList PicturesAtStart();

    DialogChange* Chooser() const { return chooser_; }
    // The configuration frame with its pages and the device worker. The
    // device list is all the window needs at start: the frame is built while
    // the window is idle after the list has first been painted, with its
    // pages made ready to show, so that the first pick only switches pages;
    // when it is needed before (an early pick, the repair dialog, the texts
    // of a firmware notice), it is built then, or when asked for here.
    Dialog* Frame();
    bool FrameBuilt() const { return frame_ != nullptr; }
    // Whether the frame is prepared while idle (on by default). Tests of
    // what a start does without the frame switch it off.
    static void SetPrepareFrameWhenIdle(bool prepare);
    QSystemTrayIcon* TrayIcon() const { return trayIcon_; }
    QMenu* TrayMenu() const { return trayMenu_; }

    // Leaves as the close button of the page in front does: the frame first
    // stores the device's configuration. For a close by the window system or
    // a termination request. Asked again while closing, it signals Closed
    // again.
    void RequestClose();

    // Whether the desktop offers a system tray. Tests replace the question;
    // an empty function restores it.
    static void SetTrayTest(std::function<bool()> test);
    static bool TrayAvailable();

    // The tray icon's activation: the menu on a right click, the window back
    // on a click or double click.
    void on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason);

signals:
    // The window has closed for good (the device link closed): the program
    // ends now, also from inside a dialog or a wait (main ends its loops).
    void Closed();

public slots:
    // 0: the device list in front (the device is closed), 1: the frame.
    void SlotChangeMainDialog(int page);
    // 0 and 2: to the tray, 1 and 3: close; 0 and 1 first tell the device
    // that the program is gone.
    void SlotChangeSize(int mode);
    // The offline notice, modal; reason 0 offline, 1 no answer in time.
    void SlotMouseOffLine(int reason);
    void SlotUpPageLight();
    void SlotChangeLanguage(int index);
    // The tray menu's items.
    void slotActionMain();
    void slotActionExitApp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Space on the frame pairs whatever control has the keyboard focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The frame built, its pages made ready, while idle.
    void PrepareFrame();
    void HideToTray(bool declaredAbsent);
    // Back from the tray (or from the minimised window that stands in for it).
    void ShowAgain(bool declarePresent);
    void CloseProgram();
    // Space: pairing on the frame; on the device list, the selection's
    // firmware check for a single listed receiver.
    void SpaceKey();
    // Whether a Space pressed on the receiver is the frame's pairing key
    // rather than the receiver's own: on the frame, any control but a text
    // field the user types in.
    bool FrameSpace(QObject* receiver, QEvent* event) const;
    // The pairing dialog over the window (usePairingTarget: it pairs
    // PairingTarget unless a device is chosen), then the device's reports go
    // to the worker again.
    void PairAndHandBack(bool usePairingTarget);

    QMenu* trayMenu_ = nullptr;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QAction* actionMain_ = nullptr;
    QAction* actionExit_ = nullptr;
    Ui::DialogMain* ui;
    QPoint dragOffset_;
    QPoint pressPosition_;
    QPoint windowPosition_;
    DialogChange* chooser_ = nullptr;
    QString pictureFolder_;
    Dialog* frame_ = nullptr;
    std::unique_ptr<LanguageTexts> language_;
    QString mainText_;
    QString exitText_;

    bool framePreparationArmed_ = false;
    bool trayConnected_ = false;
    bool closing_ = false;
    // Minimised in place of the tray after the device was told the program
    // is gone: restoring the window tells it again that the program is there.
    bool minimisedAbsent_ = false;
    bool offlineNoticeOpen_ = false;
};
