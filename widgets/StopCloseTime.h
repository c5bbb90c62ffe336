#pragma once

#include <QFrame>
#include <QString>

namespace Ui {
class StopCloseTime;
}

// The mouse's idle light-off time as a drop-down list of eleven times from
// 10 seconds to 40 minutes (image byte 0x08, in tens of seconds). The
// settings page and the lighting page embed it as "frameClose"; they show
// the mouse's time with SetIndex, which writes nothing, and give the entries
// their language texts with SetItemText. GUI thread.
class StopCloseTime : public QFrame {
    Q_OBJECT
public:
    static constexpr int EntryCount = 11;
    // The device code (tens of seconds) of entry 0 to 10; 0 for any other
    // index.
    static int CodeOf(int index);
    // The entry whose time is that many seconds; -1 when no entry has it.
    static int IndexOfSeconds(int seconds);

    explicit StopCloseTime(QWidget* parent = nullptr);
    ~StopCloseTime() override;

    // Shows entry 0 to 10 without writing and without `activated`; any other
    // index leaves the list as it is.
    void SetIndex(int index);
    void SetItemText(int index, const QString& text);

private slots:
    // A choice of the user's, also of the entry already shown: written
    // while the interface is ready and the button page is not filling its
    // widgets. The list keeps the choice when the mouse does not answer.
    void on_StopClose_activated(int index);

private:
    Ui::StopCloseTime* ui;
    QString PictureFolder;
};
