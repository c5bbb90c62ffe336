#pragma once

#include <QFrame>

namespace Ui {
class DebouncetimeC;
}

// The debounce time as a value (0-20) with minus and plus buttons. No page
// builds it. A step writes only while UiReady is set; no notice.
class DebouncetimeC : public QFrame {
    Q_OBJECT
public:
    explicit DebouncetimeC(QWidget* parent = nullptr);
    ~DebouncetimeC() override;

    // Shows the value without writing it.
    void SetDebounce(int value);
    // The unit after the value; the index is not used.
    void SetSuffix(int index, const QString& text);
    int Value() const;

public slots:
    void on_AddLevelA_clicked();
    void on_ReduceLevelA_clicked();

private:
    void Step(int delta, int stop);

    Ui::DebouncetimeC* ui;
};
