#pragma once

#include <QToolButton>

// The picture button of one listed device, named "btn" + its index in the
// device list. When the mouse pointer enters it, it says so with that index
// (the chooser then reads the device's entry again and redraws it).
class mytoolButtonEnter : public QToolButton {
    Q_OBJECT
public:
    explicit mytoolButtonEnter(QWidget* parent = nullptr);

    // The device index in an object name "btn" + number; -1 when the name
    // holds no number.
    static int IndexOf(const QString& objectName);

signals:
    // The pointer entered a button whose name holds a device index.
    void Entered(int index);

protected:
    void enterEvent(QEvent* event) override;
};
