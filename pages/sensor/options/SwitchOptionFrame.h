#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QToolButton;

// An on/off option of the sensor (ripple control, angle snapping, motion
// sync) in a small frame: a picture toggle, "Close.png" off and "Open.png" on,
// with a label beside it. The frames of the options share this; each gives its
// own form, the toggle's object name and the setter of its byte.
class SwitchOptionFrame : public QFrame {
    Q_OBJECT
public:
    // Shows the option on or off; writes nothing (the write is bound to a
    // user's click, which a programmatic change never emits).
    void SetChecked(bool on);
    // The label's text and tool tip (not the toggle's).
    void SetText(const QString& text);
    void SetToolTip(const QString& text);

protected:
    using Setter = bool (*)(int on);
    SwitchOptionFrame(QWidget* parent, Setter setter);
    // After the form is set up: the pictures and the label colour.
    void Attach(QToolButton* toggle, QLabel* label);
    // A click: the option is written (1 on, 0 off) while the interface is
    // ready; otherwise only the picture changes. The setter reports a mouse
    // that does not answer itself, and the toggle keeps the user's choice.
    void ToggleClicked(bool on);

    QString PictureFolder;

private:
    Setter setter_;
    QToolButton* toggle_ = nullptr;
    QLabel* label_ = nullptr;
};
