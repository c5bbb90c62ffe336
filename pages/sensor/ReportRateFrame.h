#pragma once

#include <QFrame>
#include <QString>

class QAbstractButton;
class QButtonGroup;
class QLabel;

// The report-rate frames: a title and one exclusive button per rate, 125 Hz
// to 8000 Hz. A click writes the rate's code into image byte 0x00 and, once
// the mouse has taken it, tells the sensor page whether the rate lies above
// 1000 Hz (SigHideModel). The frame keeps no rate of its own: the page shows
// the mouse's with SetRate and offers what the link carries with SetMaxRate.
class ReportRateFrame : public QFrame {
    Q_OBJECT
public:
    // One rate: its button's object name, its code in byte 0x00, and the
    // SigHideModel value sent after it was written.
    struct Rate {
        const char* objectName;
        int hertz;
        int code;
        int hideModel;
    };
    static constexpr int RateCount = 7;
    // In the order of the group and of SetRate's index.
    static const Rate Rates[RateCount];

    // Checks the rate of index 0-6 (125 to 8000 Hz) without a click, so
    // nothing is written; another index changes nothing.
    void SetRate(int index);
    // Which rates above 1000 Hz are offered: level 0 none, 2 up to 2000 Hz,
    // 1 up to 4000 Hz, 3 up to 8000 Hz. Another level changes nothing. A
    // hidden rate keeps its checked state.
    void SetMaxRate(int level);
    void SetText(const QString& text);

protected:
    explicit ReportRateFrame(QWidget* parent);
    // After the form is set up: the picture folder, the title colour and the
    // group of the rate buttons (found by their object names).
    void Attach(QLabel* title);
    // The rate buttons in rate order.
    QAbstractButton* RateButton(int index) const;

    QString PictureFolder;

private slots:
    // The rate buttons' clicks, connected by object name when a frame's form
    // is set up; each runs RateClicked with its row.
    void on_Button125HZ_clicked(bool checked);
    void on_Button250HZ_clicked(bool checked);
    void on_Button500HZ_clicked(bool checked);
    void on_Button1000HZ_clicked(bool checked);
    void on_Button2000HZ_clicked(bool checked);
    void on_Button4000HZ_clicked(bool checked);
    void on_Button8000HZ_clicked(bool checked);

private:
    // A click on the rate of that row: written while the interface is ready.
    void RateClicked(int index, bool checked);

    QButtonGroup* rateGroup_ = nullptr;
    QLabel* title_ = nullptr;
};
