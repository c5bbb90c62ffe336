#pragma once

#include <QToolButton>

// The picture button of one listed device, named "btn" + its index in the
// device list. When the mouse pointer enters it, the device's entry is read
// again (online state, identification) and its pictures redrawn.
class mytoolButtonEnter : public QToolButton {
    Q_OBJECT
public:
    explicit mytoolButtonEnter(QWidget* parent = nullptr);

    // The device index in an object name "btn" + number; -1 when the name
    // holds no number.
    static int IndexOf(const QString& objectName);

protected:
    void enterEvent(QEvent* event) override;
};
