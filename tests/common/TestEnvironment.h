#pragma once

#include <QTemporaryDir>
#include <QtTest>

// Gives every test run a throw-away home: HOME and the XDG folders point into a
// temporary folder, so no test writes into the real home folder. The simulated
// devices' link takes no time (TALVIRE_LINK_REPORT_MS=0) unless set otherwise.
// Must exist before the application object and the first device library call.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString home() const;

private:
    QTemporaryDir dir_;
};

// main() for a QtTest class that needs widgets, inside a throw-away home.
#define TALVIRE_TEST_MAIN(TestClass)                          \
    int main(int argc, char** argv)                           \
    {                                                         \
        TestEnvironment environment;                          \
        QApplication app(argc, argv);                         \
        TestClass test;                                       \
        QTEST_SET_MAIN_SOURCE_PATH                            \
        return QTest::qExec(&test, argc, argv);               \
    }
