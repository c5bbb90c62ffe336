// Draws every picture of the program's windows into <output>/<Folder>/<Name>.png.
// Folders named ":/<tree>" are compiled into the program: they are drawn only
// when named, `talvire_picturegen <output> :/<tree>` draws <output>/<tree>/.
#include "PictureTable.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

namespace {
bool Opaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return false;
        }
    }
    return true;
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2 && argc != 3) {
        err << "usage: talvire_picturegen <output folder> [:/<compiled-in tree>]\n";
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString tree = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    int written = 0;
    for (const PictureFolder& folder : qAsConst(PictureTable::Folders())) {
        const bool compiledIn = folder.name.startsWith(QLatin1String(":/"));
        if (tree.isEmpty() ? compiledIn : folder.name != tree)
            continue;
        const QString dir = output + QLatin1Char('/') + (compiledIn ? folder.name.mid(2) : folder.name);
        if (!QDir().mkpath(dir)) {
            err << "cannot create " << dir << '\n';
            return 1;
        }
        for (const Picture& picture : folder.pictures) {
            QImage image(picture.width, picture.height, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            {
                QPainter painter(&image);
                painter.setRenderHint(QPainter::Antialiasing);
                picture.recipe(painter, QRectF(0, 0, picture.width, picture.height), picture.state);
            }
            // A picture without transparent pixels is written without an alpha
            // channel: the program then takes it as it is decoded, where a
            // picture with alpha is converted once more after decoding.
            if (Opaque(image))
                image = image.convertToFormat(QImage::Format_RGB32);
            const QString file = dir + QLatin1Char('/') + picture.name + QStringLiteral(".png");
            if (!image.save(file)) {
                err << "cannot write " << file << '\n';
                return 1;
            }
            ++written;
        }
    }
    if (written == 0 && !tree.isEmpty()) {
        err << "no pictures for " << tree << '\n';
        return 1;
    }
    QTextStream(stdout) << written << " pictures\n";
    return 0;
}
