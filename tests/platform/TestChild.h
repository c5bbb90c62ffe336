#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the helper program talvire_test_child (beside the test) with the test's
// own HOME and XDG folders (the test's runtime folder, where the
// single-instance segment is keyed, is its own), TMPDIR set to tempFolder and
// XDG_RUNTIME_DIR to runtimeFolder when given.
class TestChild {
public:
    explicit TestChild(const QString& tempFolder = QString(), const QString& runtimeFolder = QString());
    ~TestChild();

    void Start(const QStringList& arguments);
    // Waits until the child has written a line holding text; false on time-out
    // or when the child ended first. The time-outs are test ceilings (TestLimit).
    bool WaitForLine(const QString& text, int timeoutMs = 20000);
    // Waits until the child has ended; false on time-out.
    bool WaitForEnd(int timeoutMs = 20000);
    void Kill();

    QProcess& process() { return process_; }
    QString Output() const { return output_; }

private:
    void ReadOutput();

    QProcess process_;
    QString output_;
};
