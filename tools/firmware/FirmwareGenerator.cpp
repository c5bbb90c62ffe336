// Writes sample firmware images for the models of the product description:
// the images the program offers as updates (beside the program in bin/, what
// a user would get), and images for the unusual cases the tests need
// (testdata/firmware/).
//
// firmware_generator <Config.ini> <image folder> <test image folder>
#include "core/ConfigIni.h"
#include "FirmwareImage.h"
#include "ModelCatalog.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>

namespace {
constexpr int PayloadSize = 8192;

QString VersionText(uint32_t version)
{
    return QStringLiteral("v%1.%2").arg(version >> 8).arg(version & 0xFF, 0, 16);
}

// Writes the file unless it already holds these bytes.
bool WriteFile(const QString& fileName, const std::vector<uint8_t>& bytes)
{
    const QByteArray content(reinterpret_cast<const char*>(bytes.data()), int(bytes.size()));
    QFile existing(fileName);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return true;
    existing.close();
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
        std::fprintf(stderr, "firmware_generator: cannot write %s\n", qPrintable(fileName));
        return false;
    }
    return true;
}

bool WriteImage(const QString& folder, const QString& name, const FirmwareImage::Header& header,
                bool damageBody = false)
{
    return WriteFile(folder + QLatin1Char('/') + name, FirmwareImage::Build(header, PayloadSize, damageBody));
}

FirmwareImage::Header Header(int type, int cid, int mid, const QString& name, uint32_t version)
{
    FirmwareImage::Header header;
    header.type = type;
    header.cid = cid;
    header.mid = mid;
    header.name = name.toStdString();
    header.version = version;
    return header;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: firmware_generator <Config.ini> <image folder> <test image folder>\n");
        return 2;
    }
    ConfigIni config(QString::fromLocal8Bit(argv[1]));
    const QString images = QString::fromLocal8Bit(argv[2]);
    const QString testImages = QString::fromLocal8Bit(argv[3]);
    if (!QFile::exists(config.path()) || !QDir().mkpath(images) || !QDir().mkpath(testImages)) {
        std::fprintf(stderr, "firmware_generator: cannot read %s or make the folders\n", argv[1]);
        return 1;
    }
    const int cid = config.GetValue(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
    const int models = config.GetValue(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
    bool written = true;

    // Every model's mouse and receivers, one minor version newer than the devices.
    for (int n = 1; n <= models; ++n) {
        const QString group = QStringLiteral("Drive%1").arg(n);
        const int mid = config.GetValue(group, QStringLiteral("MID")).toInt();
        const ModelCatalog::Model* model = ModelCatalog::Find(n);
        const uint32_t mouseVersion = (model ? model->mouseVersion : (n << 8)) + 1u;
        const uint32_t receiverVersion = (model ? model->receiverVersion : (n << 8)) + 1u;
        const QString mouseName = config.GetValue(group, QStringLiteral("MM"));
        if (!mouseName.isEmpty())
            written &= WriteImage(images, mouseName + QLatin1Char('_') + VersionText(mouseVersion) + ".bin",
                                  Header(FirmwareImage::MouseType, cid, mid, mouseName, mouseVersion));
        for (const char* key : {"DM", "D2M", "D4M", "D8M"}) {
            const QString name = config.GetValue(group, QLatin1String(key));
            if (!name.isEmpty())
                written &= WriteImage(images, name + QLatin1Char('_') + VersionText(receiverVersion) + ".bin",
                                      Header(FirmwareImage::ReceiverType, cid, mid, name, receiverVersion));
        }
    }

    // Files the update lookups pass over, for the tests only: the first
    // model's mouse firmware at the device's own version, a mouse of another
    // customer, a cut file. The image folder beside the program holds only
    // what a user gets.
    const QString mouseName = config.GetValue(QStringLiteral("Drive1"), QStringLiteral("MM"));
    const int mid = config.GetValue(QStringLiteral("Drive1"), QStringLiteral("MID")).toInt();
    const ModelCatalog::Model* first = ModelCatalog::Find(1);
    const uint32_t deviceVersion = first ? first->mouseVersion : 0x0100;
    written &= WriteImage(testImages, mouseName + QLatin1Char('_') + VersionText(deviceVersion) + ".bin",
                          Header(FirmwareImage::MouseType, cid, mid, mouseName, deviceVersion));
    written &= WriteImage(testImages, QStringLiteral("OtherCustomer_") + mouseName + ".bin",
                          Header(FirmwareImage::MouseType, cid + 1, mid, mouseName, deviceVersion + 1));
    written &= WriteFile(testImages + QStringLiteral("/damaged.bin"), std::vector<uint8_t>(100, 0x5A));
    // Builds before this one left them beside the program.
    for (const QString& stale : {mouseName + QLatin1Char('_') + VersionText(deviceVersion) + ".bin",
                                 QStringLiteral("OtherCustomer_") + mouseName + ".bin", QStringLiteral("damaged.bin")})
        QFile::remove(images + QLatin1Char('/') + stale);

    // The unusual cases, for the tests.
    const auto mouse = [&](uint32_t version) {
        return Header(FirmwareImage::MouseType, cid, mid, mouseName, version);
    };
    written &= WriteImage(testImages, QStringLiteral("a.bin"), mouse(deviceVersion + 2));
    written &= WriteImage(testImages, QStringLiteral("B.bin"), mouse(deviceVersion + 3));
    written &= WriteImage(testImages, QStringLiteral("version-0x0110.bin"), mouse(0x0110));
    written &= WriteImage(testImages, QStringLiteral("version-0x0101.bin"), mouse(0x0101));
    written &= WriteImage(testImages, QStringLiteral("same-version.bin"), mouse(deviceVersion));
    written &= WriteImage(testImages, QStringLiteral("name-case.bin"),
                          Header(FirmwareImage::MouseType, cid, mid, mouseName.toLower(), deviceVersion + 1));
    written &= WriteImage(testImages, QStringLiteral("other-cid.bin"),
                          Header(FirmwareImage::MouseType, cid + 1, mid, mouseName, deviceVersion + 1));
    written &= WriteImage(testImages, QStringLiteral("other-mid.bin"),
                          Header(FirmwareImage::MouseType, cid, mid + 8, mouseName, deviceVersion + 1));
    written &= WriteImage(testImages, QStringLiteral("damaged-body.bin"), mouse(deviceVersion + 1), true);
    std::vector<uint8_t> headerOnly = FirmwareImage::Build(mouse(deviceVersion + 1), 0, false);
    headerOnly.resize(FirmwareImage::HeaderSize);
    written &= WriteFile(testImages + QStringLiteral("/header-only.bin"), headerOnly);
    written &= WriteFile(testImages + QStringLiteral("/short.bin"), std::vector<uint8_t>(FirmwareImage::HeaderSize - 1, 0));
    return written ? 0 : 1;
}
