// The device cache files: names, format, atomic replacement and refusal of
// files that do not hold exactly one image.
#include "core/DeviceAllInfo.h"
#include "core/DeviceCacheFile.h"
#include "core/FlashDataMap.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/TestImages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QtTest>

#include <unistd.h>

namespace {
QByteArray LengthPrefix(quint32 length)
{
    QByteArray prefix(4, '\0');
    qToBigEndian(length, prefix.data());
    return prefix;
}

QByteArray Block(const FlashDataMap& image)
{
    return LengthPrefix(FlashDataMap::Size)
        + QByteArray(reinterpret_cast<const char*>(image.bytes()), FlashDataMap::Size);
}

QString PathOf(const QString& name)
{
    return DeviceCacheFile::Folder() + name;
}

void PutFile(const QString& name, const QByteArray& content)
{
    QDir().mkpath(DeviceCacheFile::Folder());
    QFile file(PathOf(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
}
} // namespace

class CacheTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QDir(DeviceCacheFile::Folder()).removeRecursively();
    }

    void folderIsBelowUserData()
    {
        QVERIFY(DeviceCacheFile::Folder().startsWith(qEnvironmentVariable("XDG_DATA_HOME") + "/TALVIRE/"));
        QVERIFY(DeviceCacheFile::Folder().endsWith("/TALVIRE/Device_Info/"));
    }

    void fileName_data()
    {
        QTest::addColumn<int>("cid");
        QTest::addColumn<int>("mid");
        QTest::addColumn<QString>("name");
        QTest::newRow("0A 03") << 0x0A << 0x03 << "Device_CID0A_MID03.bin";
        QTest::newRow("05 1A") << 0x05 << 0x1A << "Device_CID05_MID1A.bin";
        QTest::newRow("zero") << 0x00 << 0x00 << "Device_CID00_MID00.bin";
        QTest::newRow("FF FE") << 0xFF << 0xFE << "Device_CIDFF_MIDFE.bin";
    }

    void fileName()
    {
        QFETCH(int, cid);
        QFETCH(int, mid);
        QFETCH(QString, name);
        QCOMPARE(DeviceCacheFile::FileName(quint8(cid), quint8(mid)), name);
        DeviceAllInfo device;
        device.cid = quint8(cid);
        device.mid = quint8(mid);
        QCOMPARE(DeviceCacheFile::FileName(device), name);
    }

    void writeThenRead_data()
    {
        QTest::addColumn<FlashDataMap>("image");
        QTest::newRow("default image") << FlashDataMap();
        QTest::newRow("every byte used") << PatternImage(5);
    }

    void writeThenRead()
    {
        QFETCH(FlashDataMap, image);
        const QString name = DeviceCacheFile::FileName(0x10, 0x01);
        QVERIFY(DeviceCacheFile::Write(name, image));

        QFile file(PathOf(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.size(), 10432);
        QCOMPARE(content.left(4), QByteArray::fromHex("000028BC"));
        QCOMPARE(content, Block(image));

        FlashDataMap read = PatternImage(99);
        QVERIFY(DeviceCacheFile::Read(name, &read));
        QVERIFY(SameImage(read, image));
    }

    void writeReplacesAndLeavesNoTemporaryFile()
    {
        const QString name = DeviceCacheFile::FileName(0x10, 0x02);
        QVERIFY(DeviceCacheFile::Write(name, PatternImage(1)));
        QVERIFY(DeviceCacheFile::Write(name, PatternImage(2)));
        FlashDataMap read;
        QVERIFY(DeviceCacheFile::Read(name, &read));
        QVERIFY(SameImage(read, PatternImage(2)));
        QCOMPARE(QDir(DeviceCacheFile::Folder()).entryList(QDir::Files), QStringList{name});
    }

    void failedWriteKeepsOldFile()
    {
        if (::geteuid() == 0)
            QSKIP("file permissions do not bind the super-user");
        const QString name = DeviceCacheFile::FileName(0x10, 0x02);
        QVERIFY(DeviceCacheFile::Write(name, PatternImage(1)));
        const QFile::Permissions before = QFile::permissions(DeviceCacheFile::Folder());
        QVERIFY(QFile::setPermissions(DeviceCacheFile::Folder(), QFile::ReadOwner | QFile::ExeOwner));
        const bool written = DeviceCacheFile::Write(name, PatternImage(2));
        QFile::setPermissions(DeviceCacheFile::Folder(), before);
        QVERIFY(!written);
        FlashDataMap read;
        QVERIFY(DeviceCacheFile::Read(name, &read));
        QVERIFY(SameImage(read, PatternImage(1)));
    }

    void noNameNoFile()
    {
        QVERIFY(!DeviceCacheFile::Write(QString(), PatternImage(1)));
        QVERIFY(QDir(DeviceCacheFile::Folder()).entryList(QDir::Files).isEmpty());
        FlashDataMap read = PatternImage(3);
        QVERIFY(!DeviceCacheFile::Read(QString(), &read));
        QVERIFY(!DeviceCacheFile::Read(QStringLiteral("Device_CID77_MID77.bin"), &read));
        QVERIFY(SameImage(read, PatternImage(3)));
    }

    void refusedFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray block = Block(PatternImage(8));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("length only") << LengthPrefix(FlashDataMap::Size);
        QTest::newRow("cut by one byte") << block.left(block.size() - 1);
        QTest::newRow("cut to half") << block.left(block.size() / 2);
        QTest::newRow("one byte more") << block + QByteArray(1, 'x');
        QTest::newRow("two blocks") << block + block;
        QTest::newRow("shorter block, padded") << LengthPrefix(FlashDataMap::Size - 1) + block.mid(4, FlashDataMap::Size - 1) + QByteArray(1, '\0');
        QTest::newRow("longer length, right size") << LengthPrefix(FlashDataMap::Size + 1) + block.mid(4);
        QTest::newRow("null block") << LengthPrefix(0xFFFFFFFFu) + block.mid(4);
    }

    void refusedFile()
    {
        QFETCH(QByteArray, content);
        const QString name = DeviceCacheFile::FileName(0x10, 0x01);
        PutFile(name, content);
        FlashDataMap destination = PatternImage(42);
        QVERIFY(!DeviceCacheFile::Read(name, &destination));
        QVERIFY(SameImage(destination, PatternImage(42)));
    }
};

TALVIRE_TEST_MAIN(CacheTest)
#include "test_cache.moc"
