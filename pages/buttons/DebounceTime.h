#pragma once

#include <QFrame>
#include <QString>

namespace Ui {
class DebounceTime;
}

// The debounce time of the mouse buttons: a list of 21 entries whose index is
// the value in milliseconds (device byte 0x06). A choice of the user is
// written at once; 7 ms or less also shows the short-debounce notice. While
// the page fills itself from the device (ButtonPageLoading) nothing is
// written and no notice shows, so a device read never writes back.
class DebounceTime : public QFrame {
    Q_OBJECT
public:
    static constexpr int MaxValue = 20;
    // Values up to this one show the notice.
    static constexpr int NoticeLimit = 7;

    explicit DebounceTime(QWidget* parent = nullptr);
    ~DebounceTime() override;

    // Shows the value; a value outside 0-20 shows no entry.
    void SetDebounce(int index);
    // Entry index reads as the number followed by text ("5" + "ms").
    void SetItemSuffix(int index, const QString& text);
    // The entry shown; -1 when none.
    int Value() const;

public slots:
    void on_Debunce_currentIndexChanged(int index);

private:
    Ui::DebounceTime* ui;
    QString pictureDir_;
};
