// Crash reports: a child process that dies of a fatal signal leaves
// "yyyy_MM_dd_hh_mm_ss.dmp" with the signal, the address and a backtrace in the
// per-user "/Exception" folder, named by the local time of the crash.
#include "core/StartUp.h"
#include "platform/UserDataFolder.h"
#include "tests/common/TestEnvironment.h"
#include "tests/platform/TestChild.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

class CrashHandlerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> data_;

    static QString ExceptionFolder() { return UserDataFolder() + QStringLiteral("/Exception"); }

private slots:
    void init()
    {
        data_ = std::make_unique<QTemporaryDir>();
        QVERIFY(data_->isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(data_->path()));
        StartUp::PrepareUserFolder();
    }

    void cleanup()
    {
        qunsetenv("TZ");
        tzset();
    }

    // The handler cannot ask for the local time while the program dies; it
    // works from offsets it learnt at installation. Its names must match the
    // local time, also across summer-time changes and for zones that are not
    // whole hours away from UTC.
    void reportNameIsTheLocalTime_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::newRow("UTC") << "UTC0";
        QTest::newRow("central Europe") << "CET-1CEST,M3.5.0,M10.5.0/3";
        QTest::newRow("New Zealand") << "NZST-12NZDT,M9.5.0,M4.1.0/3";
        QTest::newRow("India") << "<+0530>-5:30";
        QTest::newRow("Newfoundland") << "NST3:30NDT,M3.2.0,M11.1.0";
    }

    void reportNameIsTheLocalTime()
    {
        QFETCH(QString, zone);
        qputenv("TZ", zone.toLatin1());
        tzset();

        // Times over the next two years, and the quarter hour around every
        // change of the offset.
        const qint64 now = QDateTime::currentSecsSinceEpoch() + 60;
        QList<qint64> times;
        for (qint64 t = now; t < now + 2 * 365 * 86400; t += 86400 * 7 + 3671)
            times.append(t);
        int previous = QDateTime::fromSecsSinceEpoch(now).offsetFromUtc();
        for (qint64 t = now; t < now + 2 * 365 * 86400; t += 900) {
            const int offset = QDateTime::fromSecsSinceEpoch(t).offsetFromUtc();
            if (offset != previous) {
                for (qint64 near = t - 901; near <= t + 1; ++near)
                    times.append(near);
                previous = offset;
            }
        }

        QStringList arguments = {QStringLiteral("names")};
        QStringList expected;
        for (qint64 t : qAsConst(times)) {
            arguments.append(QString::number(t));
            expected.append(QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("yyyy_MM_dd_hh_mm_ss"))
                            + QStringLiteral(".dmp"));
        }
        TestChild child;
        child.Start(arguments);
        QVERIFY(child.WaitForEnd());
        QCOMPARE(child.process().exitCode(), 0);
        const QStringList names = child.Output().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(names.size(), expected.size());
        for (int i = 0; i < names.size(); ++i)
            QVERIFY2(names.at(i) == expected.at(i),
                     qPrintable(QStringLiteral("%1: %2, expected %3").arg(times.at(i)).arg(names.at(i), expected.at(i))));
    }

    void crashLeavesAReport_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("remove");
        QTest::addColumn<QString>("signal");
        QTest::newRow("invalid access") << "segv" << "" << "Signal: 11 SIGSEGV";
        QTest::newRow("abort") << "abort" << "" << "Signal: 6 SIGABRT";
        QTest::newRow("exception not caught") << "throw" << "" << "Signal: 6 SIGABRT";
        QTest::newRow("folder removed while running") << "segv" << "remove-folder" << "Signal: 11 SIGSEGV";
        QTest::newRow("per-user folder removed while running") << "segv" << "remove-all" << "Signal: 11 SIGSEGV";
    }

    void crashLeavesAReport()
    {
        QFETCH(QString, how);
        QFETCH(QString, remove);
        QFETCH(QString, signal);

        const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
        TestChild child;
        child.Start({QStringLiteral("crash"), how, remove});
        QVERIFY(child.WaitForEnd());
        const QDateTime ended = QDateTime::currentDateTime().addSecs(1);
        QCOMPARE(child.process().exitStatus(), QProcess::CrashExit);

        const QStringList reports = QDir(ExceptionFolder()).entryList({QStringLiteral("*.dmp")}, QDir::Files);
        QCOMPARE(reports.size(), 1);
        const QString name = reports.first();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d\\.dmp$")).match(name).hasMatch(),
                 qPrintable(name));
        const QDateTime when = QDateTime::fromString(name.left(19), QStringLiteral("yyyy_MM_dd_hh_mm_ss"));
        QVERIFY2(when >= started.addMSecs(-started.time().msec()) && when <= ended, qPrintable(name));

        QFile file(ExceptionFolder() + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString report = QString::fromUtf8(file.readAll());
        QVERIFY2(report.contains(signal), qPrintable(report));
        const QRegularExpressionMatch address =
            QRegularExpression(QStringLiteral("address (0x[0-9a-f]+)")).match(child.Output());
        if (how == QLatin1String("segv")) {
            QVERIFY(address.hasMatch());
            QVERIFY2(report.contains(QStringLiteral("Address: ") + address.captured(1)), qPrintable(report));
        }
        // The backtrace names at least a few frames, the handler's caller among them.
        const QString backtrace = report.section(QStringLiteral("Backtrace:\n"), 1);
        QVERIFY2(backtrace.count(QLatin1Char('\n')) >= 3, qPrintable(report));
    }
};

TALVIRE_TEST_MAIN(CrashHandlerTest)
#include "test_crash_handler.moc"
