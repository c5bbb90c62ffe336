// The program's start: the per-user folder, the clean-up of old logs and crash
// reports, the single instance, and the log handler.
#include "core/StartUp.h"
#include "platform/UserDataFolder.h"
#include "tests/common/TestEnvironment.h"
#include "tests/platform/TestChild.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/time.h>

namespace {
// Writes a file whose last modification lies ageSeconds back (ahead when negative).
void MakeFile(const QString& path, qint64 ageSeconds, const QByteArray& content = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    QVERIFY(file.flush()); // before the time is set: writing changes it
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                             QFileDevice::FileModificationTime));
}

const qint64 Hour = 3600;
const qint64 Day = 24 * Hour;
} // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> data_;

    static QString Base() { return UserDataFolder(); }

private slots:
    // Every test starts on a machine without the per-user folder.
    void init()
    {
        data_ = std::make_unique<QTemporaryDir>();
        QVERIFY(data_->isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(data_->path()));
        QVERIFY(Base().startsWith(data_->path()));
    }

    void firstStartMakesTheFolders()
    {
        QVERIFY(!QDir(Base()).exists());
        StartUp::PrepareUserFolder();
        const QStringList expected = {"/Log", "/Device_Info", "/Exception", "/usersetting",
                                      "/usersetting/MainPage", "/usersetting/MacroPage",
                                      "/usersetting/SensorPage"};
        QCOMPARE(StartUp::SubFolders(), expected);
        for (const QString& folder : expected)
            QVERIFY2(QFileInfo(Base() + folder).isDir(), qPrintable(folder));
        QFileInfo macro(Base() + QStringLiteral("/Macro.ini"));
        QVERIFY(macro.isFile());
        QCOMPARE(macro.size(), qint64(0));
    }

    void existingMacroIniIsLeftAlone()
    {
        const QByteArray content = "[Language]\nLanguage=3\n";
        MakeFile(Base() + QStringLiteral("/Macro.ini"), 30 * Day, content);
        const QDateTime modified = QFileInfo(Base() + QStringLiteral("/Macro.ini")).lastModified();
        StartUp::PrepareUserFolder();
        QFile file(Base() + QStringLiteral("/Macro.ini"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        QCOMPARE(QFileInfo(file).lastModified(), modified);
    }

    void oldFilesAreRemoved_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<qint64>("age");
        QTest::addColumn<bool>("kept");
        for (const char* folder : {"/Log", "/Exception"}) {
            const QString name = QLatin1String(folder);
            QTest::addRow("%s: 8 days", folder) << name << 8 * Day << false;
            QTest::addRow("%s: 7 days 23 hours", folder) << name << 7 * Day + 23 * Hour << true;
            QTest::addRow("%s: new", folder) << name << qint64(0) << true;
            // A time in the future has a huge unsigned age.
            QTest::addRow("%s: an hour ahead", folder) << name << -Hour << false;
            QTest::addRow("%s: a year ahead", folder) << name << -365 * Day << false;
        }
        QTest::newRow("other folders are not cleaned") << "/Device_Info" << 30 * Day << true;
    }

    void oldFilesAreRemoved()
    {
        QFETCH(QString, folder);
        QFETCH(qint64, age);
        QFETCH(bool, kept);
        const QString file = Base() + folder + QStringLiteral("/2024-03-05.txt");
        MakeFile(file, age);
        StartUp::PrepareUserFolder();
        QCOMPARE(QFileInfo::exists(file), kept);
    }

    void subFoldersAreNotEntered()
    {
        const QString inner = Base() + QStringLiteral("/Log/old");
        MakeFile(inner + QStringLiteral("/2024-01-01.txt"), 30 * Day);
        MakeFile(inner + QStringLiteral("/deeper/2024-01-02.txt"), 30 * Day);
        // The sub-folder itself is old as well.
        const qint64 old = QDateTime::currentSecsSinceEpoch() - 30 * Day;
        const timeval times[2] = {{time_t(old), 0}, {time_t(old), 0}};
        QCOMPARE(utimes(QFile::encodeName(inner).constData(), times), 0);
        StartUp::DeleteFilesOlderThanWeek(Base() + QStringLiteral("/Log"));
        QVERIFY(QFileInfo::exists(inner + QStringLiteral("/2024-01-01.txt")));
        QVERIFY(QFileInfo::exists(inner + QStringLiteral("/deeper/2024-01-02.txt")));
        QVERIFY(QFileInfo(inner).isDir());
    }

    void everyOldFileGoesInOnePass()
    {
        const QString folder = Base() + QStringLiteral("/Exception");
        for (int i = 0; i < 20; ++i)
            MakeFile(folder + QStringLiteral("/%1.dmp").arg(i), (i % 2 ? 9 : 1) * Day);
        StartUp::DeleteFilesOlderThanWeek(folder);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 10);
    }

    // A second start while the first runs ends with exit code 0 and leaves the
    // first running; it still cleans the folders. An instance killed without
    // a chance to release the segment does not block the next start.
    void singleInstance()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString quit = temp.filePath(QStringLiteral("quit"));

        TestChild first(temp.path());
        first.Start({QStringLiteral("wait"), quit});
        QVERIFY2(first.WaitForLine(QStringLiteral("running")), qPrintable(first.Output()));

        const QString oldLog = Base() + QStringLiteral("/Log/2024-01-01.txt");
        MakeFile(oldLog, 10 * Day);
        TestChild second(temp.path());
        second.Start({QStringLiteral("wait"), quit});
        QVERIFY(second.WaitForEnd());
        QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.process().exitCode(), 0);
        QVERIFY2(!second.Output().contains(QStringLiteral("running")), qPrintable(second.Output()));
        QVERIFY2(second.Output().contains(QStringLiteral("notice ExeIsRun")), qPrintable(second.Output()));
        QVERIFY(!QFileInfo::exists(oldLog));
        QCOMPARE(first.process().state(), QProcess::Running);

        first.Kill();
        TestChild third(temp.path());
        third.Start({QStringLiteral("wait"), quit});
        QVERIFY2(third.WaitForLine(QStringLiteral("running")), qPrintable(third.Output()));

        TestChild fourth(temp.path());
        fourth.Start({QStringLiteral("wait"), quit});
        QVERIFY(fourth.WaitForEnd());
        QCOMPARE(fourth.process().exitCode(), 0);
        QVERIFY(!fourth.Output().contains(QStringLiteral("running")));

        // An instance that ends normally releases the segment as well.
        QFile(quit).open(QIODevice::WriteOnly);
        QVERIFY(third.WaitForEnd());
        QCOMPARE(third.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(third.process().exitCode(), 0);
        QFile::remove(quit);
        TestChild fifth(temp.path());
        fifth.Start({QStringLiteral("wait"), quit});
        QVERIFY2(fifth.WaitForLine(QStringLiteral("running")), qPrintable(fifth.Output()));
        QFile(quit).open(QIODevice::WriteOnly);
        QVERIFY(fifth.WaitForEnd());
        QCOMPARE(fifth.process().exitCode(), 0);
    }

    // The claim lives in the user's runtime folder: an instance of another
    // session (another runtime folder) does not turn a start away even when
    // both share the temporary folder, while one of the same session does
    // whatever temporary folder either has.
    void singleInstanceFollowsTheRuntimeFolder()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString quit = temp.filePath(QStringLiteral("quit"));
        QString runtime[2];
        for (int i = 0; i < 2; ++i) {
            runtime[i] = temp.filePath(QStringLiteral("runtime%1").arg(i));
            QVERIFY(QDir().mkpath(runtime[i]));
            QVERIFY(QFile::setPermissions(runtime[i], QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        const QString sharedTemp = temp.filePath(QStringLiteral("tmp"));
        const QString otherTemp = temp.filePath(QStringLiteral("other-tmp"));
        QVERIFY(QDir().mkpath(sharedTemp));
        QVERIFY(QDir().mkpath(otherTemp));

        TestChild first(sharedTemp, runtime[0]);
        first.Start({QStringLiteral("wait"), quit});
        QVERIFY2(first.WaitForLine(QStringLiteral("running")), qPrintable(first.Output()));

        TestChild elsewhere(sharedTemp, runtime[1]);
        elsewhere.Start({QStringLiteral("wait"), quit});
        QVERIFY2(elsewhere.WaitForLine(QStringLiteral("running")), qPrintable(elsewhere.Output()));

        TestChild same(otherTemp, runtime[0]);
        same.Start({QStringLiteral("wait"), quit});
        QVERIFY(same.WaitForEnd());
        QCOMPARE(same.process().exitCode(), 0);
        QVERIFY2(same.Output().contains(QStringLiteral("notice ExeIsRun")), qPrintable(same.Output()));

        QFile(quit).open(QIODevice::WriteOnly);
        QVERIFY(first.WaitForEnd());
        QVERIFY(elsewhere.WaitForEnd());
        QCOMPARE(first.process().exitCode(), 0);
        QCOMPARE(elsewhere.process().exitCode(), 0);
    }

    void logHandlerWritesDebugMessages()
    {
        StartUp::PrepareUserFolder();
        const QString file = Base() + QStringLiteral("/Log/")
            + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".txt");
        const QMessageLogContext context("source.cpp", 42, "function", "default");
        StartUp::WriteLogMessage(QtDebugMsg, context, QStringLiteral("first %1 line"));
        StartUp::WriteLogMessage(QtWarningMsg, context, QStringLiteral("warning"));
        StartUp::WriteLogMessage(QtCriticalMsg, context, QStringLiteral("critical"));
        StartUp::WriteLogMessage(QtInfoMsg, context, QStringLiteral("information"));
        StartUp::WriteLogMessage(QtDebugMsg, context, QStringLiteral("second"));

        QFile log(file);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(log.readAll());
        const QRegularExpression lines(QStringLiteral(
            "^Debug: File:\\(source\\.cpp\\) Line:\\(42\\) first %1 line \\(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\)\r\n"
            "Debug: File:\\(source\\.cpp\\) Line:\\(42\\) second \\([^)]*\\)\r\n$"));
        QVERIFY2(lines.match(text).hasMatch(), qPrintable(text));
    }
};

TALVIRE_TEST_MAIN(StartUpTest)
#include "test_startup.moc"
