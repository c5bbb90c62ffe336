#pragma once

#include <QFrame>

namespace Ui {
class DebouncetimeB;
}

// The debounce time as a slider (1-20) with the value beside it. No page
// builds it. Writes only while UiReady is set; shows no notice.
class DebouncetimeB : public QFrame {
    Q_OBJECT
public:
    explicit DebouncetimeB(QWidget* parent = nullptr);
    ~DebouncetimeB() override;

    // Shows the value without writing it.
    void SetDebounce(int value);
    // The unit after the value; the index is not used.
    void SetSuffix(int index, const QString& text);

public slots:
    void on_Debunce_valueChanged(int value);
    void on_Debunce_sliderMoved(int value);

private:
    Ui::DebouncetimeB* ui;
};
