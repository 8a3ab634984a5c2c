// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/picture.h"

#include "ui/twips.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <future>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

constexpr int kBorderTwips = 24; // two pixels at the designed size
constexpr int kFinest = 3;       // the artwork is drawn at one, two and three times its size

// The resource of the drawing `scale` times as fine as `resource`.
QString finerDrawing(const QString& resource, int scale)
{
    if (scale == 1)
        return resource;
    const qsizetype dot = resource.lastIndexOf(u'.');
    return resource.left(dot) + u'@' + QString::number(scale) + u'x' + resource.mid(dot);
}

// Image resources asked for ahead, read on a thread of their own while the window is built.
class Shelf
{
public:
    static Shelf& instance()
    {
        static Shelf shelf;
        return shelf;
    }

    void prefetch(const QStringList& resources)
    {
        const std::scoped_lock lock(m_mutex);
        QStringList wanted;
        for (const QString& resource : resources) {
            if (!m_images.contains(resource))
                wanted.append(resource);
        }
        if (wanted.isEmpty())
            return;
        std::shared_future<std::map<QString, QImage>> batch;
        try {
            batch = std::async(std::launch::async, [wanted] {
                        std::map<QString, QImage> read;
                        for (const QString& resource : wanted)
                            read.emplace(resource, QImage(resource));
                        return read;
                    }).share();
        } catch (const std::system_error&) {
            return; // no thread to be had: each picture is read when it is drawn
        }
        for (const QString& resource : wanted)
            m_images.emplace(resource, batch);
    }

    QImage image(const QString& resource)
    {
        std::shared_future<std::map<QString, QImage>> batch;
        {
            const std::scoped_lock lock(m_mutex);
            const auto found = m_images.find(resource);
            if (found == m_images.end())
                return QImage(resource);
            batch = found->second;
        }
        return batch.get().at(resource);
    }

private:
    std::mutex m_mutex;
    std::map<QString, std::shared_future<std::map<QString, QImage>>> m_images;
};

} // namespace

void prefetchArtwork(const QStringList& resources)
{
    Shelf::instance().prefetch(resources);
}

QImage artworkImage(const QString& resource)
{
    return Shelf::instance().image(resource);
}

Picture::Picture(QWidget* parent, QString resource, PictureBorder border)
    : QLabel(parent), m_resource(std::move(resource))
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (border == PictureBorder::Sunken) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(px(kBorderTwips));
    }
}

QPixmap Picture::artwork(qreal devicePixelRatio) const
{
    const QSize box = contentsRect().size();
    const QSize target(static_cast<int>(std::lround(box.width() * devicePixelRatio)),
                       static_cast<int>(std::lround(box.height() * devicePixelRatio)));
    QImage image;
    for (int scale = 1; scale <= kFinest; ++scale) {
        QImage drawing = artworkImage(finerDrawing(m_resource, scale));
        if (drawing.isNull())
            break;
        image = std::move(drawing);
        if (image.width() >= target.width())
            break;
    }
    if (image.isNull() || target.isEmpty())
        return {};
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

void Picture::paintEvent(QPaintEvent* event)
{
    // The border as any frame draws it (not the label's own picture, drawn at one size only);
    // then the picture for the screen the box is on now.
    QFrame::paintEvent(event); // NOLINT(bugprone-parent-virtual-call)
    const qreal ratio = devicePixelRatioF();
    if (m_shown.isNull() || m_shown.devicePixelRatio() != ratio ||
        m_shown.deviceIndependentSize().toSize() != contentsRect().size())
        m_shown = artwork(ratio);
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), m_shown);
}

Picture* makePicture(QWidget* parent, const QString& objectName, const QString& resource,
                     QRect rect, PictureBorder border, const QString& accessibleName)
{
    auto* picture = new Picture(parent, resource, border);
    picture->setObjectName(objectName);
    picture->setGeometry(rect);
    // Also kept as the label's own picture, so that it is seen as a graphic.
    picture->setPixmap(picture->artwork(picture->devicePixelRatioF()));
    picture->setAccessibleName(accessibleName);
    return picture;
}

} // namespace vignetta
