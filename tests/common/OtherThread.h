#pragma once

#include <QScopedPointer>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <functional>

// Runs body on a thread of its own while the GUI thread keeps processing
// events (blocking emissions from body need it); true when body has finished
// within timeoutMs. A body still running then fails the test function, and is
// waited for while events are served: its thread is joined, and nothing it
// still refers to on the caller's frame goes away under it.
inline bool RunOnOtherThread(const std::function<void()>& body, int timeoutMs = 10000)
{
    std::atomic<bool> done{false};
    QScopedPointer<QThread> thread(QThread::create([&] {
        body();
        done = true;
    }));
    thread->start();
    const bool inTime = QTest::qWaitFor([&] { return done.load(); }, timeoutMs);
    if (!inTime) {
        qWarning("RunOnOtherThread: the body still runs after its ceiling of %d ms; serving events until it ends",
                 timeoutMs);
        if (QTest::currentTestFunction() && !QTest::currentTestFailed())
            QTest::qVerify(false, "RunOnOtherThread", "the body ended within its ceiling", __FILE__, __LINE__);
        while (!QTest::qWaitFor([&] { return done.load(); }, 1000)) {
        }
    }
    thread->wait();
    return inTime;
}
