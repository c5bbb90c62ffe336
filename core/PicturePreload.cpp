#include "core/PicturePreload.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QVector>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace {
// Two threads share the pictures: the largest (the first, a window's
// background) takes one about as long as the others together.
constexpr int Threads = 2;

struct Decoded {
    QString file;
    QImage image;
};

// The one pending preload; its threads are joined by HandOver(), or at the
// program's end when no window took the pictures.
struct Pending {
    std::vector<std::thread> threads;
    QVector<Decoded> pictures;
    std::atomic<int> next{0};
    std::atomic<bool> pluginsLoaded{false};

    bool Running() const { return !threads.empty(); }
    void Join()
    {
        for (std::thread& thread : threads)
            thread.join();
        threads.clear();
    }
    ~Pending() { Join(); }
};

Pending& State()
{
    static Pending pending;
    return pending;
}

bool HasTransparency(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return true;
        }
    }
    return false;
}

void Decode(Decoded& picture)
{
    // Read as PNG: without asking every image plugin what it is.
    QImageReader reader(picture.file, "png");
    reader.setAutoDetectImageFormat(false);
    picture.image = reader.read();
    // In the form a pixmap keeps it (for a screen of 24 bits or more), so
    // that the GUI thread only wraps it.
    if (picture.image.format() == QImage::Format_ARGB32 && HasTransparency(picture.image))
        picture.image.convertTo(QImage::Format_ARGB32_Premultiplied);
}

// Qt reads a picture named in a style sheet's "image" through an icon, which
// asks every image plugin (GIF, ICO, JPEG) whether it can read the file: the
// first such question loads them all. Asked here, they load on this thread
// while the window is made, not on the GUI thread while it paints.
void LoadImagePlugins(const QString& picture)
{
    QImageReader reader(picture);
    reader.format();
}

// The digits of QPixmap's cache key: each byte of the value in memory
// order, low nibble first.
template <typename Number>
QString HexOf(Number value)
{
    static const char digits[] = "0123456789abcdef";
    QString text;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (size_t i = 0; i < sizeof(Number); ++i) {
        text += QLatin1Char(digits[bytes[i] & 0xf]);
        text += QLatin1Char(digits[bytes[i] >> 4]);
    }
    return text;
}
} // namespace

void PicturePreload::Start(const QStringList& files)
{
    Pending& pending = State();
    if (pending.Running())
        return;
    pending.pictures.clear();
    for (const QString& file : files)
        pending.pictures.append({file, QImage()});
    pending.next = 0;
    pending.pluginsLoaded = false;
    const auto work = [&pending] {
        for (int i = pending.next++; i < pending.pictures.size(); i = pending.next++)
            Decode(pending.pictures[i]);
        // The first thread done, while the other decodes the largest.
        if (!pending.pictures.isEmpty() && !pending.pluginsLoaded.exchange(true))
            LoadImagePlugins(pending.pictures.last().file);
    };
    for (int i = 0; i < Threads; ++i)
        pending.threads.emplace_back(work);
}

void PicturePreload::HandOver()
{
    Pending& pending = State();
    if (!pending.Running())
        return;
    pending.Join();
    bool checked = false;
    for (Decoded& picture : pending.pictures) {
        if (picture.image.isNull())
            continue;
        const QPixmap pixmap = QPixmap::fromImage(std::move(picture.image));
        const QString key = CacheKey(picture.file);
        QPixmapCache::insert(key, pixmap);
        if (!checked) {
            checked = true;
            if (QPixmap(picture.file).cacheKey() != pixmap.cacheKey()) {
                // Not found where QPixmap::load looks: Qt decodes its
                // pictures itself.
                QPixmapCache::remove(key);
                break;
            }
        }
    }
    pending.pictures.clear();
}

QString PicturePreload::CacheKey(const QString& file)
{
    // "qt_pixmap", the absolute path, the modification time in seconds since
    // 1970 as 32 bits, the size as 64 bits, and the pixmap type (0, a pixmap).
    const QFileInfo info(file);
    return QLatin1String("qt_pixmap") + info.absoluteFilePath()
        + HexOf(quint32(info.lastModified().toSecsSinceEpoch())) + HexOf(quint64(info.size())) + HexOf(quint32(0));
}
