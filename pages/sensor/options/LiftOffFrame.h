#pragma once

#include <QFrame>
#include <QString>

class QLabel;

// The lift-off distance frames: a label and the distances to choose from.
// Device codes of image byte 0x05: 1 = 1 mm, 2 = 2 mm, 3 = 0.7 mm.
class LiftOffFrame : public QFrame {
    Q_OBJECT
public:
    // The label's text and tool tip.
    void SetText(const QString& text);
    void SetToolTip(const QString& text);

protected:
    explicit LiftOffFrame(QWidget* parent);
    // After the form is set up: the picture folder and the label colour.
    void AttachLabel(QLabel* label);
    // A chosen distance is written while the interface is ready and the page
    // is not filling its widgets (its own changes of the choice reach the
    // same slots).
    static void WriteDistance(int code);

    QString PictureFolder;

private:
    QLabel* label_ = nullptr;
};
