#pragma once

#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <thread>

// Gives every test run a throw-away home: HOME and the XDG folders point into a
// temporary folder, so no test writes into the real home folder. The simulated
// devices' link and answers take no time (TALVIRE_LINK_REPORT_MS=0,
// TALVIRE_LINK_ANSWER_MS=0) unless set otherwise.
// Must exist before the application object and the first device library call.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString home() const;

private:
    QTemporaryDir dir_;
};

// The arguments that run one part of a test class's functions. TALVIRE_TEST_PART
// "k/n" (set by talvire_add_test's PARTS) splits the test functions, in their
// order, into n runs of about the same number of functions and names those of
// run k (1-based) after the program's own arguments; without it, or when the
// arguments already name functions or options, the arguments as they are.
QStringList TestPartArguments(const QObject& test, const QStringList& arguments);

// Runs a test class with the arguments of its part (TestPartArguments).
int RunTestPart(QObject& test, int argc, char** argv);

// main() for a QtTest class that needs widgets, inside a throw-away home.
#define TALVIRE_TEST_MAIN(TestClass)                          \
    int main(int argc, char** argv)                           \
    {                                                         \
        TestEnvironment environment;                          \
        QApplication app(argc, argv);                         \
        TestClass test;                                       \
        QTEST_SET_MAIN_SOURCE_PATH                            \
        return RunTestPart(test, argc, argv);                 \
    }

// A ceiling inside a test, in ms: how long a test waits at most for an event
// it needs before it fails. It is multiplied by TALVIRE_TEST_LIMIT_SCALE (set
// by talvire_add_test, as the programs' own limits are), so that a busy
// machine's slowness alone does not fail a test; a test that passes never
// waits for it. Not for a wait that ends a check that nothing more happens.
inline int TestLimit(int ms)
{
    static const int scale = [] {
        const char* text = std::getenv("TALVIRE_TEST_LIMIT_SCALE");
        const int value = text ? std::atoi(text) : 1;
        return value > 0 ? value : 1;
    }();
    return ms * scale;
}

// QtTest's default ceiling (QTRY_*, qWaitFor, QSignalSpy::wait), scaled.
inline int DefaultTestLimit() { return TestLimit(5000); }

// QTRY_VERIFY and its kin with the scaled default ceiling.
#define TRY_VERIFY(...) QTRY_VERIFY_WITH_TIMEOUT(__VA_ARGS__, DefaultTestLimit())
#define TRY_VERIFY2(...) QTRY_VERIFY2_WITH_TIMEOUT(__VA_ARGS__, DefaultTestLimit())
#define TRY_COMPARE(...) QTRY_COMPARE_WITH_TIMEOUT(__VA_ARGS__, DefaultTestLimit())

// Waits on this thread, serving no events, until ready() holds (a state another
// thread sets); false when it did not within ceilingMs (a ceiling, scaled by
// the caller). It yields instead of sleeping, so that it adds no ordering
// between the threads and never sleeps past the state.
template <typename Ready>
bool WaitWithoutEvents(Ready ready, int ceilingMs)
{
    const QDeadlineTimer ceiling(ceilingMs);
    while (!ready()) {
        if (ceiling.hasExpired())
            return false;
        std::this_thread::yield();
    }
    return true;
}
