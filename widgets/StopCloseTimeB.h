#pragma once

#include <QFrame>
#include <QString>

namespace Ui {
class StopCloseTimeB;
}

// The idle light-off time on a slider of eleven positions (entry p - 1 of
// StopCloseTime at position p), with a read-only box that shows the time as
// a number and a unit. A layout variant that the program does not show.
// The slider commits a value only when its handle is released or it takes
// a page step; only a committed value is written. GUI thread.
class StopCloseTimeB : public QFrame {
    Q_OBJECT
public:
    explicit StopCloseTimeB(QWidget* parent = nullptr);
    ~StopCloseTimeB() override;

    // The number shown at slider position 1 to 11 (10, 30, 1, 5 ... 40);
    // 0 for any other position.
    static int PositionToNumber(int position);

    // Moves the slider to entry 0 to 10 without writing.
    void SetIndex(int index);
    // The language texts of the list's entries: entry 0 ("10秒") gives the
    // seconds unit (the text without "10"), entry 5 ("15分钟") the minutes
    // unit (without "15"); the other entries are not shown here.
    void SetItemText(int index, const QString& text);

private slots:
    void on_StopClose_sliderMoved(int position);
    void on_StopClose_valueChanged(int position);

private:
    void ShowPosition(int position);

    QString secondsUnit_;
    QString minutesUnit_;
    Ui::StopCloseTimeB* ui;
    QString PictureFolder;
};
