#pragma once

#include <QScopedPointer>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <functional>

// Runs body on a thread of its own while the GUI thread keeps processing
// events (blocking emissions from body need it); true when body has finished
// within timeoutMs.
inline bool RunOnOtherThread(const std::function<void()>& body, int timeoutMs = 10000)
{
    std::atomic<bool> done{false};
    QScopedPointer<QThread> thread(QThread::create([&] {
        body();
        done = true;
    }));
    thread->start();
    if (!QTest::qWaitFor([&] { return done.load(); }, timeoutMs))
        return false;
    return thread->wait(5000);
}
