// Files of user data are replaced whole or not at all: the replace function
// itself, and every writer (cache file, exported configuration, Macro.ini, the
// registry file) on a disk that is full, nearly full, or under a file-size
// limit. The writers run in a child process, so that the limit and the full
// disk hit the real write.
#include "platform/ReplaceFile.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/TestImages.h"
#include "tests/platform/TestChild.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {
QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Put(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// The entries of a folder, hidden ones included.
QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The process id of a process that has ended.
qint64 EndedProcess()
{
    QProcess process;
    process.start(QStringLiteral("true"), QStringList());
    process.waitForFinished(TestLimit(30000));
    return process.processId() > 0 ? process.processId() : 999999;
}

QString CopyName(const QString& name, qint64 pid, int number)
{
    return QStringLiteral(".%1.%2-%3.tmp").arg(name).arg(pid).arg(number);
}

// The old content of each writer's file: a whole cache file, an export, and
// two small settings files.
QByteArray OldContent(const QString& writer)
{
    if (writer == QLatin1String("cache")) {
        QByteArray block(4, '\0');
        qToBigEndian(quint32(FlashDataMap::Size), block.data());
        const FlashDataMap image = PatternImage(1);
        return block + QByteArray(reinterpret_cast<const char*>(image.bytes()), FlashDataMap::Size);
    }
    if (writer == QLatin1String("export"))
        return QByteArray("an exported configuration of the user ").repeated(40);
    if (writer == QLatin1String("macro"))
        return QByteArray("[AutoStart]\nEnable=1\n\n[Language]\nLanguage=1\n");
    return QByteArray("[Mouse%20Drive%20Test]\nMouseVer0A01=v1.5\nUpdateFailInfo=\"210,1,2\"\n");
}

// Where a writer's file lies below the data and configuration folders the
// child is given.
QString FileOf(const QString& writer, const QString& data, const QString& config)
{
    if (writer == QLatin1String("cache"))
        return data + QStringLiteral("/TALVIRE/Device_Info/Device_CID0A_MID01.bin");
    if (writer == QLatin1String("export"))
        return data + QStringLiteral("/exports/mouse.bin");
    if (writer == QLatin1String("macro"))
        return data + QStringLiteral("/TALVIRE/Macro.ini");
    return config + QStringLiteral("/TALVIRE/TALVIRE.ini");
}

QString TargetArgument(const QString& writer, const QString& file)
{
    return writer == QLatin1String("cache") ? QFileInfo(file).fileName() : file;
}

void AddWriterRows()
{
    QTest::addColumn<QString>("writer");
    for (const char* writer : {"cache", "export", "macro", "registry"})
        QTest::newRow(writer) << QString::fromLatin1(writer);
}
} // namespace

class UserFilesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    // Runs one write of writer in a child with its data and configuration
    // folders below base, under a file-size limit when limit is not 0; a
    // settings writer writes a value of length characters. The child's
    // "result" line: 1 written, 0 failed, -1 no answer.
    int RunWriter(const QString& writer, const QString& base, qint64 limit, int length = 20000)
    {
        const QString data = base + QStringLiteral("/data");
        const QString config = base + QStringLiteral("/config");
        const QString file = FileOf(writer, data, config);
        TestChild child(dir_.path());
        QProcessEnvironment environment = child.process().processEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        child.process().setProcessEnvironment(environment);
        child.Start({QStringLiteral("write-file"), writer, TargetArgument(writer, file), QString::number(limit),
                     QString::number(length)});
        if (!child.WaitForEnd())
            return -1;
        const QString output = child.Output();
        if (!output.contains(QStringLiteral("file ") + file + QLatin1Char('\n'))) {
            qWarning("the child wrote elsewhere: %s", qPrintable(output));
            return -1;
        }
        if (output.contains(QStringLiteral("result 1")))
            return 1;
        return output.contains(QStringLiteral("result 0")) ? 0 : -1;
    }

    // Puts each writer's old file below base; returns its path.
    QString PutOldFile(const QString& writer, const QString& base)
    {
        const QString file = FileOf(writer, base + QStringLiteral("/data"), base + QStringLiteral("/config"));
        return Put(file, OldContent(writer)) ? file : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
    }

    // The replace function on its own: what it leaves on success and failure.
    void replaceFile_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("written");
        QTest::newRow("new file") << "new" << true;
        QTest::newRow("existing file replaced") << "existing" << true;
        QTest::newRow("empty content") << "empty" << true;
        QTest::newRow("owner-only file stays owner-only") << "private" << true;
        QTest::newRow("link followed, link kept") << "link" << true;
        QTest::newRow("folder missing") << "no folder" << false;
        QTest::newRow("a folder in the file's place") << "folder" << false;
    }

    void replaceFile()
    {
        QFETCH(QString, situation);
        QFETCH(bool, written);
        const QString folder = dir_.filePath(QStringLiteral("replace-") + QString(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        QString path = folder + QStringLiteral("/file.bin");
        QString replaced = path;
        QByteArray content = QByteArray("new content ").repeated(100);
        const QByteArray old("old content");
        if (situation == QLatin1String("existing") || situation == QLatin1String("empty")
            || situation == QLatin1String("private"))
            QVERIFY(Put(path, old));
        if (situation == QLatin1String("empty"))
            content.clear();
        if (situation == QLatin1String("private"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        if (situation == QLatin1String("link")) {
            replaced = folder + QStringLiteral("/target.bin");
            QVERIFY(Put(replaced, old));
            QVERIFY(QFile::link(replaced, path));
        }
        if (situation == QLatin1String("no folder"))
            path = folder + QStringLiteral("/missing/file.bin");
        if (situation == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));

        QString error;
        QCOMPARE(ReplaceFile(path, content, &error), written);
        QCOMPARE(error.isEmpty(), written);
        if (written) {
            QCOMPARE(Content(replaced), content);
        } else if (situation == QLatin1String("folder")) {
            QVERIFY(QFileInfo(path).isDir());
        } else {
            QVERIFY(!QFileInfo::exists(path));
        }
        if (situation == QLatin1String("private")) {
            struct stat info {};
            QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
            QCOMPARE(info.st_mode & 0777, mode_t(0600));
        }
        if (situation == QLatin1String("link"))
            QVERIFY(QFileInfo(path).isSymLink());
        // No new copy is left behind, whatever the outcome.
        for (const QString& entry : Entries(folder))
            QVERIFY2(!entry.endsWith(QLatin1String(".tmp")), qPrintable(entry));
    }

    // A check of the new copy that fails keeps the old file.
    void failedCheckKeepsTheOldFile()
    {
        const QString path = dir_.filePath(QStringLiteral("check/file.txt"));
        QVERIFY(Put(path, "old"));
        QString seen;
        QString error;
        QVERIFY(!ReplaceFile(
            path, "new",
            [&seen](const QString& copy, QString* reason) {
                seen = Content(copy);
                *reason = QStringLiteral("not as meant");
                return false;
            },
            &error));
        QCOMPARE(seen, QStringLiteral("new"));
        QCOMPARE(error, QStringLiteral("not as meant"));
        QCOMPARE(Content(path), QByteArray("old"));
        QCOMPARE(Entries(QFileInfo(path).absolutePath()), QStringList {QStringLiteral("file.txt")});
    }

    // Copies left by a writer that was killed go with the next write of the
    // same file; a copy of a running writer, other files and copies of other
    // files stay.
    void abandonedCopiesAreRemoved()
    {
        const QString folder = dir_.filePath(QStringLiteral("abandoned"));
        const qint64 ended = EndedProcess();
        const qint64 running = ::getppid();
        const QStringList gone = {CopyName(QStringLiteral("file.bin"), ended, 3),
                                  CopyName(QStringLiteral("file.bin"), ::getpid(), 900)};
        const QStringList kept = {CopyName(QStringLiteral("file.bin"), running, 4),
                                  CopyName(QStringLiteral("other.bin"), ended, 5), QStringLiteral("file.bin.backup"),
                                  QStringLiteral(".file.bin.tmp"), QStringLiteral("file.bin.123-4.tmp")};
        for (const QString& name : gone + kept)
            QVERIFY(Put(folder + QLatin1Char('/') + name, "left"));

        QVERIFY(ReplaceFile(folder + QStringLiteral("/file.bin"), "whole"));
        QStringList expected = kept;
        expected << QStringLiteral("file.bin");
        expected.sort();
        QCOMPARE(Entries(folder), expected);
    }

    // The lock and the half-written copy of a settings writer killed while it
    // held the lock are gone after the next change, which does not wait for
    // them.
    void killedSettingsWriterLeavesNothing()
    {
        const QString path = dir_.filePath(QStringLiteral("killed/Macro.ini"));
        QVERIFY(Put(path, OldContent(QStringLiteral("macro"))));
        TestChild holder(dir_.path());
        holder.Start({QStringLiteral("hold-lock"), path});
        QVERIFY2(holder.WaitForLine(QStringLiteral("holding")), qPrintable(holder.Output()));
        holder.Kill();
        QCOMPARE(Entries(QFileInfo(path).absolutePath()).size(), 3);

        // Written: a lock still respected would have failed the write after
        // the lock wait.
        TestChild writer(dir_.path());
        writer.Start({QStringLiteral("write-file"), QStringLiteral("macro"), path, QStringLiteral("0")});
        QVERIFY(writer.WaitForEnd());
        QVERIFY2(writer.Output().contains(QStringLiteral("result 1")), qPrintable(writer.Output()));
        QCOMPARE(Entries(QFileInfo(path).absolutePath()), QStringList {QStringLiteral("Macro.ini")});
    }

    // Under a file-size limit smaller than the new content every writer
    // reports failure and leaves the old file byte for byte.
    void fileSizeLimit_data()
    {
        AddWriterRows();
    }

    void fileSizeLimit()
    {
        QFETCH(QString, writer);
        const QString base = dir_.filePath(QStringLiteral("limit-") + writer);
        const QString file = PutOldFile(writer, base);
        QVERIFY(!file.isEmpty());
        QCOMPARE(RunWriter(writer, base, 4096), 0);
        QCOMPARE(Content(file), OldContent(writer));
        QCOMPARE(Entries(QFileInfo(file).absolutePath()), QStringList {QFileInfo(file).fileName()});

        // Without the limit the same write goes through.
        QCOMPARE(RunWriter(writer, base, 0), 1);
        QVERIFY(Content(file) != OldContent(writer));
        QCOMPARE(Entries(QFileInfo(file).absolutePath()), QStringList {QFileInfo(file).fileName()});
    }

    // On a full disk, and on one with 4 KB left, every writer reports failure
    // and leaves the old file byte for byte. The settings writers make a small
    // change: with 4 KB left their lock fits and the new file does not. Needs
    // a small file system of its own: run as root (where a tmpfs can be
    // mounted), skipped otherwise.
    void fullDisk_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<qint64>("free");
        for (const char* writer : {"cache", "export", "macro", "registry"}) {
            for (const qint64 free : {qint64(0), qint64(4096)}) {
                QTest::addRow("%s, %lld bytes free", writer, free) << QString::fromLatin1(writer) << free;
            }
        }
    }

    void fullDisk()
    {
        QFETCH(QString, writer);
        QFETCH(qint64, free);
        if (::geteuid() != 0)
            QSKIP("a small file system of its own needs root");
        const QString mount = dir_.filePath(QStringLiteral("full-") + QString(QTest::currentDataTag()).replace(
                                                                          QLatin1Char(' '), QLatin1Char('_')));
        QVERIFY(QDir().mkpath(mount));
        const QByteArray mountPoint = QFile::encodeName(mount);
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=700") != 0)
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(strerror(errno))));
        struct Unmount {
            QByteArray point;
            ~Unmount() { ::umount2(point.constData(), MNT_DETACH); }
        } unmount {mountPoint};

        const QString file = PutOldFile(writer, mount);
        QVERIFY(!file.isEmpty());
        // Fill the file system, then give back what is to be left free.
        const QByteArray filler = QFile::encodeName(mount + QStringLiteral("/filler"));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(fd >= 0);
        const QByteArray chunk(4096, 'f');
        while (::write(fd, chunk.constData(), size_t(chunk.size())) > 0) {
        }
        const off_t size = ::lseek(fd, 0, SEEK_END);
        QVERIFY(::ftruncate(fd, size - off_t(free)) == 0);
        ::close(fd);
        struct statvfs space {};
        QVERIFY(::statvfs(mountPoint.constData(), &space) == 0);
        QCOMPARE(qint64(space.f_bavail) * qint64(space.f_bsize), free);

        QCOMPARE(RunWriter(writer, mount, 0, 100), 0);
        QCOMPARE(Content(file), OldContent(writer));
        QCOMPARE(Entries(QFileInfo(file).absolutePath()), QStringList {QFileInfo(file).fileName()});
    }
};

TALVIRE_TEST_MAIN(UserFilesTest)
#include "test_user_files.moc"
