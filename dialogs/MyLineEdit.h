#pragma once

#include <QLineEdit>

// A line edit that typing does not change: key presses and releases are taken
// and dropped, so they neither edit the text nor reach the window (Tab does not
// move the focus either). The text changes only by the program, or by edits
// that do not come as keys (paste, cut and delete from the context menu).
class MyLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MyLineEdit(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
