#pragma once

#include <QToolButton>

// A tool button that acts on the press of the left mouse button: it becomes
// checked and emits clicked(false) at once; a left double click checks it and
// emits clicked(true). Other mouse buttons do nothing.
class MyToolButton : public QToolButton {
    Q_OBJECT
public:
    explicit MyToolButton(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
