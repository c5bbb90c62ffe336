#pragma once

#include <QTemporaryDir>
#include <QtTest>

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
