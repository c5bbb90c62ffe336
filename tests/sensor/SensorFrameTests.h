#pragma once

#include <QObject>

// The sensor option frames (run by test_sensor_tables).
class SensorFrameTests : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void switchFrames_data();
    void switchFrames();
    void liftOffChoice_data();
    void liftOffChoice();
    void liftOffEntries();
    void liftOffBoxes();
    void lightRows_data();
    void lightRows();
    void lightWrites_data();
    void lightWrites();
    void screenshots();
};
