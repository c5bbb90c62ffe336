#pragma once

#include "tests/common/TestEnvironment.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
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
        return process_.waitForStarted(TestLimit(30000));
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

    // Waits until a window manager has taken the screen: it announces itself
    // on the root window, which xprop -spy reports as the property changes.
    // A manager that ended leaves its announcement behind, naming a window
    // that is gone: only an announcement whose window exists counts.
    // False when none did within timeoutMs (a ceiling) or xprop is missing.
    static bool WaitForWindowManager(int timeoutMs)
    {
        const QString xprop = QStandardPaths::findExecutable(QStringLiteral("xprop"));
        if (xprop.isEmpty())
            return false;
        QProcess spy;
        spy.start(xprop, {QStringLiteral("-root"), QStringLiteral("-spy"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        const QRegularExpression announcement(QStringLiteral("window id # (0x[0-9a-fA-F]+)"));
        const auto exists = [&xprop](const QString& id) {
            QProcess check;
            check.start(xprop, {QStringLiteral("-id"), id, QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
            return check.waitForFinished(5000) && check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0;
        };
        QByteArray said;
        bool up = false;
        const QDeadlineTimer deadline(timeoutMs);
        while (!up && !deadline.hasExpired() && spy.waitForReadyRead(int(deadline.remainingTime()))) {
            said += spy.readAll();
            int end;
            while (!up && (end = said.indexOf('\n')) >= 0) {
                const QRegularExpressionMatch match = announcement.match(QString::fromLatin1(said.left(end)));
                said.remove(0, end + 1);
                up = match.hasMatch() && exists(match.captured(1));
            }
        }
        spy.kill();
        spy.waitForFinished();
        return up;
    }

private:
    QProcess process_;
};
