#pragma once

#include <QProgressBar>
#include <QTimer>
#include <QVector>

// A progress bar that moves through equal stages: between two calls of
// mUpdate() it creeps toward the next stage by 1 % per interval (stopping 1 %
// short of it), and mUpdate() makes it catch up with the next stage quickly.
// The text shows the percentage with one decimal ("25.0%").
class MyProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit MyProgressBar(QWidget* parent = nullptr);

    // Starts from 0 with `count` stages (at least one) and a creep step
    // every `intervalMs` milliseconds.
    void Start(int count, int intervalMs);

    // The percentages where the stages end, from 0 to 100.
    QVector<int> Targets() const { return targets_; }
    int Stage() const { return stage_; }

public slots:
    // The next stage is reached.
    void mUpdate();

private:
    void SetValueText(int value);
    void Creep();
    void CatchUp();

    QVector<int> targets_;
    int stage_ = 0;
    QTimer* creepTimer_;
    QTimer* stepTimer_;
};
