#pragma once

#include <QSlider>

// A slider that jumps to the clicked position. After the jump it sends an
// event of type QEvent::User + 1 (1001) to its parent.
class MySlider : public QSlider {
    Q_OBJECT
public:
    explicit MySlider(QWidget* parent = nullptr);

    // The event type sent to the parent after a press.
    static constexpr int PressEventType = 1001;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
