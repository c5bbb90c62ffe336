#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// A helper program of the X desktop (a window manager, a system tray) that a
// test on a real X server starts and that ends with the object.
class DesktopProgram {
public:
    DesktopProgram() = default;
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;
    ~DesktopProgram() { Stop(); }

    // Starts the program; false when it is not installed or does not start.
    bool Start(const QString& name, const QStringList& arguments = {})
    {
        const QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty())
            return false;
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start(path, arguments);
        return process_.waitForStarted();
    }

    void Stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(5000);
    }

private:
    QProcess process_;
};
