// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "thumbnails/thumbnail_maker.h"

#include "core/descriptor.h"
#include "thumbnails/thumbnail_names.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// Baseline with optimised Huffman tables rather than progressive: at thumbnail sizes a
// progressive file is no smaller (8114 against 8103 bytes at 300x225) and takes about twice
// as long to encode and to decode (bench/thumbnail_bench's encoding table).
constexpr bool kProgressiveJpeg = false;
constexpr int kJpegQuality = 85;

// A picture file as its decoder reads it: its reads fail once the work is cancelled, so that a
// decoder in the middle of a large picture gives up at its next read instead of finishing it;
// and it notes when the decoder wanted more than the file holds, which is how a picture cut
// short shows (the decoders fill in what is missing and say nothing).
class PictureFile final : public QFile
{
public:
    explicit PictureFile(const std::atomic_bool& cancel) : m_cancel(cancel) {}

    // A read found nothing left: JPEG, GIF and PNG decoders read on in pieces until their
    // picture's end, which a whole file holds.
    [[nodiscard]] bool foundNothingLeft() const { return m_foundNothing; }
    // A read asked for more than was left: a BMP decoder asks for each row's exact bytes.
    [[nodiscard]] bool askedPastTheEnd() const { return m_askedPast; }
    // Forgets the reads so far: looking for the picture's size may read the whole file (GIF).
    void forgetReads()
    {
        m_foundNothing = false;
        m_askedPast = false;
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_cancel.load(std::memory_order_relaxed))
            return -1;
        const qint64 at = pos();
        const qint64 got = QFile::readData(data, maxSize);
        if (maxSize > 0 && got == 0)
            m_foundNothing = true;
        if (at + maxSize > size())
            m_askedPast = true;
        return got;
    }

private:
    const std::atomic_bool& m_cancel;
    bool m_foundNothing = false;
    bool m_askedPast = false;
};

// The raster formats a page shows, told by the file's first bytes, never by its name or by
// asking each installed plugin: a drawing (SVG) named like a photo could pull other files into
// its picture. Empty for anything else.
QByteArray pictureFormat(int fd)
{
    std::array<unsigned char, 8> head{};
    const ssize_t got = retried([&] { return ::pread(fd, head.data(), head.size(), 0); });
    const auto starts = [&](std::initializer_list<unsigned char> magic) {
        return got >= static_cast<ssize_t>(magic.size()) &&
               std::equal(magic.begin(), magic.end(), head.begin());
    };
    if (starts({0xFF, 0xD8, 0xFF}))
        return "jpeg";
    if (starts({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}))
        return "png";
    if (starts({'G', 'I', 'F', '8', '7', 'a'}) || starts({'G', 'I', 'F', '8', '9', 'a'}))
        return "gif";
    if (starts({'B', 'M'}))
        return "bmp";
    return {};
}

// a * b / c rounded to the nearest whole number, at least one.
int scaledSide(qint64 a, qint64 b, qint64 c)
{
    return static_cast<int>(std::max<qint64>(1, (2 * a * b + c) / (2 * c)));
}

bool hasTransparentPixels(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        if (std::any_of(line, line + argb.width(), [](QRgb p) { return qAlpha(p) < 255; }))
            return true;
    }
    return false;
}

// The pixels alone, in `format`: none of the texts, colour profile or resolution the decoder
// found in the image's file goes on into the thumbnail's.
QImage plainPixels(const QImage& image, QImage::Format format)
{
    const QImage converted = image.convertToFormat(format);
    return QImage(converted.constBits(), converted.width(), converted.height(),
                  converted.bytesPerLine(), format)
        .copy();
}

} // namespace

QSize fitInside(QSize size, QSize box)
{
    if (size.isEmpty() || box.isEmpty())
        return {};
    const qint64 w = size.width();
    const qint64 h = size.height();
    // Width-bound when the image is at least as wide as the box in proportion.
    if (w * box.height() >= h * box.width())
        return {box.width(), std::min(box.height(), scaledSide(h, box.width(), w))};
    return {std::min(box.width(), scaledSide(w, box.height(), h)), box.height()};
}

ThumbnailSizes thumbnailSizes(QSize imageSize, QSize box)
{
    const QSize twice = box * 2;
    const QSize pixels = imageSize.width() <= twice.width() && imageSize.height() <= twice.height()
                             ? imageSize
                             : fitInside(imageSize, twice);
    return {pixels, fitInside(pixels, box)};
}

DecodedPicture readPicture(const QByteArray& nativePath, QSize box, bool withCopy,
                           const std::atomic_bool& cancel)
{
    DecodedPicture out;
    QString* const problem = &out.problem;
    // Opened by the name's own bytes, whatever their encoding; without waiting, so that a FIFO
    // named like an image cannot hold the work up, and read only where it is a file.
    int fd = -1;
    do
        fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        *problem = qt_error_string(errno);
        return out;
    }
    PictureFile file(cancel);
    struct stat opened = {};
    const int flags = ::fcntl(fd, F_GETFL);
    // Unbuffered, so that the file sees the decoder's own reads.
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || flags == -1 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1 ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        *problem = S_ISREG(opened.st_mode) ? qt_error_string(errno) : u"it is not a file"_s;
        ::close(fd);
        return out;
    }
    const QByteArray format = pictureFormat(fd);
    if (format.isEmpty()) {
        *problem = u"it is not a JPEG, PNG, GIF or BMP picture"_s;
        return out;
    }
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);

    // The header tells the stored size and the orientation; the decoder is asked for the size
    // needed (the copy's, else the thumbnail's) in the stored orientation, which a JPEG decoder
    // reaches by decoding at 1/2 to 1/8 of the size and scaling the rest of the way smoothly.
    const QSize stored = reader.size();
    const bool turned = (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0;
    const auto needed = [&](QSize upright) {
        return withCopy ? copySize(upright, format == "jpeg") : thumbnailSizes(upright, box).pixels;
    };
    QSize target;
    if (stored.isValid()) {
        const QSize upright = turned ? stored.transposed() : stored;
        target = needed(upright);
        if (target != upright && reader.supportsOption(QImageIOHandler::ScaledSize))
            reader.setScaledSize(turned ? target.transposed() : target);
    }
    file.forgetReads();
    QImage image = reader.read();
    if (cancel.load(std::memory_order_relaxed)) {
        out.problem.clear();
        return out;
    }
    if (image.isNull()) {
        *problem = reader.errorString();
        return out;
    }
    if (!target.isValid())
        target = needed(image.size());
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Kept as browsers show it, with what is missing filled in, and told.
    if (file.foundNothingLeft() || (format == "bmp" && file.askedPastTheEnd()))
        *problem = QString::fromUtf16(kCutShort);
    if (withCopy) {
        // The thumbnail from the copy: the picture is decoded once.
        const QSize thumbnail = thumbnailSizes(image.size(), box).pixels;
        out.thumbnail = thumbnail == image.size() ? image
                                                  : image.scaled(thumbnail, Qt::IgnoreAspectRatio,
                                                                 Qt::SmoothTransformation);
        out.copy = std::move(image);
    } else {
        out.thumbnail = std::move(image);
    }
    return out;
}

QImage readThumbnail(const QByteArray& nativePath, QSize box, const std::atomic_bool& cancel,
                     QString* problem)
{
    DecodedPicture picture = readPicture(nativePath, box, false, cancel);
    *problem = picture.problem;
    return picture.thumbnail;
}

QSize copySize(QSize upright, bool reducedByDecoder)
{
    if (upright.isEmpty() || std::max(upright.width(), upright.height()) <= kCopyLongEdge)
        return upright;
    // A JPEG decoder gives 1/2, 1/4 or 1/8 of the size (rounded up) at little cost; where one
    // of those is near the limit, it is the copy.
    if (reducedByDecoder) {
        for (const int divisor : {2, 4, 8}) {
            const QSize reduced((upright.width() + divisor - 1) / divisor,
                                (upright.height() + divisor - 1) / divisor);
            const int longEdge = std::max(reduced.width(), reduced.height());
            if (longEdge <= kCopyLongEdge) {
                if (longEdge * 4 >= kCopyLongEdge * 3)
                    return reduced;
                break;
            }
        }
    }
    return fitInside(upright, {kCopyLongEdge, kCopyLongEdge});
}

EncodedPicture encodePicture(const QImage& image)
{
    QImage picture = image;
    const bool grey = picture.format() == QImage::Format_Grayscale8;
    if (!grey && picture.colorSpace().isValid() &&
        picture.colorSpace() != QColorSpace(QColorSpace::SRgb))
        picture.convertToColorSpace(QColorSpace::SRgb);
    const bool transparent = hasTransparentPixels(picture);
    const QImage plain = plainPixels(picture, transparent ? QImage::Format_ARGB32
                                              : grey      ? QImage::Format_Grayscale8
                                                          : QImage::Format_RGB32);

    EncodedPicture out;
    QBuffer buffer(&out.bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    QImageWriter writer(&buffer, transparent ? "png" : "jpeg");
    if (!transparent) {
        writer.setQuality(kJpegQuality);
        writer.setOptimizedWrite(true);
        writer.setProgressiveScanWrite(kProgressiveJpeg);
    }
    if (!writer.write(plain))
        return {};
    buffer.close();
    out.suffix = transparent ? u".png"_s : u".jpg"_s;
    return out;
}

namespace {

// A thumbnail in the folder open as `folder`, opened for reading as a file of its own: never
// through a link, never a FIFO or a device.
struct OpenedThumbnail
{
    QFile file;
    struct stat status = {};
};

bool openThumbnail(int folder, const QString& fileName, OpenedThumbnail& opened)
{
    const int fd = retried([&] {
        return ::openat(folder, QFile::encodeName(fileName).constData(),
                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    });
    if (fd < 0)
        return false;
    if (::fstat(fd, &opened.status) != 0 || !S_ISREG(opened.status.st_mode) ||
        !opened.file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

qint64 msecsOf(const struct timespec& t)
{
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

} // namespace

std::optional<QSize> reusablePicture(int folder, const QString& fileName,
                                     const QByteArray& nativeImagePath)
{
    OpenedThumbnail picture;
    if (!openThumbnail(folder, fileName, picture))
        return std::nullopt;
    // The image's last change: a copy that keeps an older modification time (a restored
    // backup) still changes the status time.
    struct stat image = {};
    if (::stat(nativeImagePath.constData(), &image) != 0)
        return std::nullopt;
    // Compared at the millisecond, as file times were always compared here.
    const qint64 changed = std::max(msecsOf(image.st_mtim), msecsOf(image.st_ctim));
    if (!(msecsOf(picture.status.st_mtim) > changed))
        return std::nullopt;
    QImageReader reader(&picture.file, fileName.endsWith(u".png") ? "png" : "jpeg");
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid())
        return std::nullopt;
    return size;
}

bool carriesThumbnailMarker(int folder, const QString& fileName)
{
    OpenedThumbnail thumbnail;
    if (!openThumbnail(folder, fileName, thumbnail))
        return false;
    QImageReader reader(&thumbnail.file);
    return !reader.text(QString::fromLatin1(kThumbnailMarkerKey)).isEmpty();
}

SaveResult savePictureFile(int folder, const QString& fileName, const QByteArray& bytes)
{
    // The page's own saving: complete before it takes the name, never through a link (which
    // could lead to an original), the disk's refusal reported with its reason. The disk is
    // asked to keep all of them at once, before the page that shows them is written.
    return savePageIn(folder, fileName, bytes, Durability::Later);
}

} // namespace vignetta
