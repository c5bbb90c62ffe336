// The firmware image lookups: which image files of a folder fit a device, how
// each lookup judges their versions, what it keeps, and the files it passes
// over (cut, unreadable, not an image); the update check of the current model.
#include "core/DeviceAllInfo.h"
#include "core/FirmwareImages.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {
const QByteArray Mouse("TVM1-Mouse");
const QByteArray Receiver4K("TVR1-4K");
constexpr int Cid = 10;

struct ImageFile {
    QString name;
    int type = FirmwareImages::MouseType;
    int cid = Cid;
    int mid = 1;
    QByteArray model = Mouse;
    quint32 version = 0x0106;
    int size = -1;              // cut to this many bytes; -1 the whole image
    bool unreadable = false;    // opens, but reading fails
};
using ImageFiles = QList<ImageFile>;

ImageFile Image(const QString& name, quint32 version)
{
    ImageFile file;
    file.name = name;
    file.version = version;
    return file;
}

ImageFile With(ImageFile file, void (*change)(ImageFile&))
{
    change(file);
    return file;
}

QByteArray ImageBytes(const ImageFile& file)
{
    QByteArray data(FirmwareImages::HeaderSize, '\0');
    data.replace(0, 8, "TVFWHEAD");
    qToLittleEndian<quint32>(file.version, data.data() + 0x10);
    data[0x14] = char(file.type);
    data[0x15] = char(file.cid);
    data[0x16] = char(file.mid);
    data.replace(0x57, file.model.size(), file.model);
    data += "body of " + file.name.toUtf8();
    if (file.size >= 0)
        data.resize(file.size);
    return data;
}

// Writes the files into folder; false when one cannot be made.
bool WriteImages(const QString& folder, const ImageFiles& files)
{
    for (const ImageFile& file : files) {
        const QString fileName = folder + QLatin1Char('/') + file.name;
        if (file.unreadable) {
            // Opening works, every read fails: the kernel refuses to read
            // address 0 of this process.
            if (!QFile::link(QStringLiteral("/proc/self/mem"), fileName))
                return false;
            continue;
        }
        QFile out(fileName);
        if (!out.open(QIODevice::WriteOnly) || out.write(ImageBytes(file)) < 0)
            return false;
    }
    return true;
}

// The file whose content a lookup kept ("" when it kept none).
QString KeptName(const QList<QByteArray>& list, const ImageFiles& files)
{
    if (list.isEmpty())
        return QString();
    for (const ImageFile& file : files) {
        if (!file.unreadable && ImageBytes(file) == list.first())
            return file.name;
    }
    return QStringLiteral("<unknown content>");
}
} // namespace

Q_DECLARE_METATYPE(ImageFiles)

class FirmwareImagesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir root;
    int folders = 0;

    // A fresh image folder for every case.
    QString NewFolder(const ImageFiles& files)
    {
        const QString folder = root.filePath(QString::number(++folders));
        if (!QDir().mkpath(folder) || !WriteImages(folder, files))
            return QString();
        FirmwareImages::SetFolder(folder);
        return folder;
    }

private slots:
    void cleanupTestCase()
    {
        FirmwareImages::SetFolder(QString());
    }

    void header()
    {
        ImageFile file = Image(QStringLiteral("x.bin"), 0x0A1B);
        file.type = FirmwareImages::ReceiverType;
        file.cid = 0x1FE;
        file.mid = 0x33;
        file.model = QByteArray(64, 'N');    // no NUL: the name ends after 64 bytes
        FirmwareImages::Header header;
        QVERIFY(FirmwareImages::ReadHeader(ImageBytes(file), &header));
        QCOMPARE(header.version, quint32(0x0A1B));
        QCOMPARE(int(header.type), 211);
        QCOMPARE(int(header.cid), 0xFE);
        QCOMPARE(int(header.mid), 0x33);
        QCOMPARE(header.modelName, QByteArray(64, 'N'));

        QVERIFY(!FirmwareImages::ReadHeader(ImageBytes(file).left(FirmwareImages::HeaderSize - 1), &header));
    }

    // The mouse of model 1 (customer 10, model 1, "TVM1-Mouse") asks each
    // lookup about a folder of image files. repair and setting name the file a
    // keeping lookup keeps ("" for a false result); newer is the answer of the
    // lookup that keeps nothing.
    void lookups_data()
    {
        QTest::addColumn<ImageFiles>("files");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("repair");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("newer");

        const ImageFile v16 = Image(QStringLiteral("m.bin"), 0x0106);
        const ImageFile v15 = Image(QStringLiteral("m.bin"), 0x0105);
        const QString m = QStringLiteral("m.bin");
        auto row = [](const char* name, const ImageFiles& files, const char* version, const QString& repair,
                      const QString& setting, bool newer) {
            QTest::newRow(name) << files << QString::fromLatin1(version) << repair << setting << newer;
        };

        row("another version", {v16}, "v1.5", m, m, true);
        row("an older version counts as well", {Image(m, 0x0104)}, "v1.5", m, m, true);
        row("the same version", {v15}, "v1.5", "", "", false);
        row("no version given: any image", {v15}, "", m, m, false);
        row("receiver image for a mouse", {With(v16, [](ImageFile& f) { f.type = FirmwareImages::ReceiverType; })},
            "v1.5", "", "", false);
        row("another customer", {With(v16, [](ImageFile& f) { f.cid = 11; })}, "v1.5", "", "", false);
        row("customer compared by its low byte", {With(v16, [](ImageFile& f) { f.cid = Cid + 256; })}, "v1.5", m, m,
            true);
        row("another model", {With(v16, [](ImageFile& f) { f.mid = 2; })}, "v1.5", "", "", false);
        row("model name in other letter case", {With(v16, [](ImageFile& f) { f.model = "tvm1-mouse"; })}, "v1.5", "",
            "", false);
        row("model name longer", {With(v16, [](ImageFile& f) { f.model = "TVM1-Mouse2"; })}, "v1.5", "", "", false);

        // Versions are "v" + major + "." + minor in hexadecimal.
        row("1.10 and 1.1 differ", {Image(m, 0x0101)}, "v1.10", m, m, true);
        row("1.a and 1.b differ", {Image(m, 0x010B)}, "v1.a", m, m, true);
        row("1.05 is 1.5", {v15}, "v1.05", m, "", false);
        row("a version that is no number", {v15}, "unknown", m, m, true);

        // Several files: name order with letter case ignored; the last accepted stays.
        const ImageFiles ab{Image(QStringLiteral("B.bin"), 0x0107), Image(QStringLiteral("a.bin"), 0x0106)};
        row("a.bin then B.bin", ab, "", QStringLiteral("B.bin"), QStringLiteral("B.bin"), false);
        row("the same version skipped among others",
            {Image(QStringLiteral("a.bin"), 0x0106), Image(QStringLiteral("b.bin"), 0x0105)}, "v1.5",
            QStringLiteral("a.bin"), QStringLiteral("a.bin"), true);

        // Files that are no images are passed over; the scan goes on.
        ImageFile cut = Image(QStringLiteral("a.bin"), 0x0107);
        cut.size = FirmwareImages::HeaderSize - 1;
        row("a cut file", {cut, Image(QStringLiteral("b.bin"), 0x0106)}, "v1.5", QStringLiteral("b.bin"),
            QStringLiteral("b.bin"), true);
        ImageFile headerOnly = Image(m, 0x0106);
        headerOnly.size = FirmwareImages::HeaderSize;
        row("a header without body", {headerOnly}, "v1.5", m, m, true);
        ImageFile unreadable = Image(QStringLiteral("a.bin"), 0x0107);
        unreadable.unreadable = true;
        row("an unreadable file", {unreadable, Image(QStringLiteral("b.bin"), 0x0106)}, "v1.5",
            QStringLiteral("b.bin"), QStringLiteral("b.bin"), true);
        row("only files named *.bin", {Image(QStringLiteral("m.txt"), 0x0106), Image(QStringLiteral("M.BIN"), 0x0106)},
            "v1.5", QStringLiteral("M.BIN"), QStringLiteral("M.BIN"), true);
        row("a hidden file", {Image(QStringLiteral(".m.bin"), 0x0106)}, "v1.5", "", "", false);
        row("empty folder", {}, "", "", "", false);
    }

    void lookups()
    {
        QFETCH(ImageFiles, files);
        QFETCH(QString, version);
        QFETCH(QString, repair);
        QFETCH(QString, setting);
        QFETCH(bool, newer);
        QVERIFY(!NewFolder(files).isEmpty());
        const int mid = 1;

        QCOMPARE(FirmwareImages::FindRepairFirmwareImage(210, version, QString::fromLatin1(Mouse), Cid, mid),
                 !repair.isEmpty());
        QCOMPARE(KeptName(FirmwareImages::RepairImageList(), files), repair);
        QCOMPARE(FirmwareImages::FindSettingFirmwareImage(210, version, QString::fromLatin1(Mouse), Cid, mid),
                 !setting.isEmpty());
        QCOMPARE(KeptName(FirmwareImages::SettingImageList(), files), setting);
        QCOMPARE(FirmwareImages::HasNewerFirmwareImage(210, version, QString::fromLatin1(Mouse), Cid, mid), newer);
        QVERIFY(FirmwareImages::SettingImageList().size() <= 1);
    }

    // Each keeping lookup starts empty: a lookup that finds nothing leaves
    // nothing of an earlier one. A kept image a caller holds stays whole.
    void keptImages()
    {
        const ImageFiles files{Image(QStringLiteral("m.bin"), 0x0106)};
        QVERIFY(!NewFolder(files).isEmpty());
        QVERIFY(FirmwareImages::FindSettingFirmwareImage(210, QString(), QString::fromLatin1(Mouse), Cid, 1));
        QVERIFY(FirmwareImages::FindRepairFirmwareImage(210, QString(), QString::fromLatin1(Mouse), Cid, 1));
        const QByteArray held = FirmwareImages::SettingImageList().value(0);
        QCOMPARE(held, ImageBytes(files.first()));

        QVERIFY(!FirmwareImages::FindSettingFirmwareImage(211, QString(), QString::fromLatin1(Mouse), Cid, 1));
        QVERIFY(FirmwareImages::SettingImageList().isEmpty());
        QCOMPARE(FirmwareImages::RepairImageList().size(), 1);
        QVERIFY(!FirmwareImages::FindRepairFirmwareImage(210, QStringLiteral("v1.6"), QString::fromLatin1(Mouse), Cid,
                                                         1));
        QVERIFY(FirmwareImages::RepairImageList().isEmpty());
        QCOMPARE(held, ImageBytes(files.first()));
    }

    void missingFolder()
    {
        FirmwareImages::SetFolder(root.filePath(QStringLiteral("none")));
        QVERIFY(!FirmwareImages::FolderExists());
        QVERIFY(!FirmwareImages::FindRepairFirmwareImage(210, QString(), QString::fromLatin1(Mouse), Cid, 1));
        QVERIFY(!FirmwareImages::FindSettingFirmwareImage(210, QString(), QString::fromLatin1(Mouse), Cid, 1));
        QVERIFY(!FirmwareImages::CheckFirmwareUpdate(210, QStringLiteral("v1.0"), 4));
    }

    // The update check of the current device's model: the mouse by "MM", the
    // receiver by the key of its kind.
    void checkFirmwareUpdate_data()
    {
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("available");

        QTest::newRow("mouse of model 1") << 0 << 210 << "v1.5" << 0 << true;
        QTest::newRow("mouse at the image's version") << 0 << 210 << "v1.6" << 0 << false;
        QTest::newRow("mouse, no version known") << 0 << 210 << "" << 0 << false;
        QTest::newRow("4K receiver") << 0 << 211 << "v1.2" << 4 << true;
        QTest::newRow("4K receiver at the image's version") << 0 << 211 << "v1.3" << 4 << false;
        QTest::newRow("1K receiver: no image") << 0 << 211 << "v1.2" << 1 << false;
        QTest::newRow("kind 3 is no receiver") << 0 << 211 << "v1.2" << 3 << false;
        QTest::newRow("receiver of model 2 has no 4K image") << 1 << 211 << "v1.2" << 4 << false;
        QTest::newRow("mouse of model 2: another model name") << 1 << 210 << "v1.5" << 0 << false;
    }

    void checkFirmwareUpdate()
    {
        QFETCH(int, modelIndex);
        QFETCH(int, target);
        QFETCH(QString, version);
        QFETCH(int, kind);
        QFETCH(bool, available);

        ImageFile receiver = Image(QStringLiteral("receiver.bin"), 0x0103);
        receiver.type = FirmwareImages::ReceiverType;
        receiver.model = Receiver4K;
        QVERIFY(!NewFolder({Image(QStringLiteral("mouse.bin"), 0x0106), receiver}).isEmpty());
        DeviceAllInfo device;
        device.modelIndex = modelIndex;
        CurrentDevice.set(device);
        QCOMPARE(FirmwareImages::CheckFirmwareUpdate(target, version, kind), available);
        QVERIFY(FirmwareImages::SettingImageList().isEmpty());
        CurrentDevice.set(DeviceAllInfo());
    }

    void receiverModelKeys()
    {
        QCOMPARE(ProductDescription::ReceiverModelKey(1), QStringLiteral("DM"));
        QCOMPARE(ProductDescription::ReceiverModelKey(2), QStringLiteral("D2M"));
        QCOMPARE(ProductDescription::ReceiverModelKey(4), QStringLiteral("D4M"));
        QCOMPARE(ProductDescription::ReceiverModelKey(8), QStringLiteral("D8M"));
        QCOMPARE(ProductDescription::ReceiverModelKey(0), QString());
    }
};

TALVIRE_TEST_MAIN(FirmwareImagesTest)
#include "test_firmware_images.moc"
