// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace vignetta {

enum class PictureBorder
{
    None,
    Sunken
};

// A picture box: the picture at its top-left corner, inside an optional border; the box is
// exactly the picture plus its border. The artwork comes at its designed size and two and
// three times as fine; the box draws the one that suits the zoom and the screen's pixel ratio,
// so the picture stays crisp on dense and scaled screens.
class Picture final : public QLabel
{
    Q_OBJECT
public:
    // `resource`: the designed-size artwork, e.g. ":/vignetta/mark.png"; its finer drawings
    // sit beside it as mark@2x.png and mark@3x.png.
    Picture(QWidget* parent, QString resource, PictureBorder border);

    // The picture as the box shows it on a screen of that pixel ratio: the coarsest drawing
    // that is at least as fine as needed, scaled down smoothly to the box.
    [[nodiscard]] QPixmap artwork(qreal devicePixelRatio) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_resource;
    QPixmap m_shown;
};

// Starts reading the drawings of these artworks (and of any other image resource) on a thread
// of their own, so that the window is built meanwhile; a picture that needs one before it is
// read waits for it. Each is read once, and kept for every later window.
void prefetchArtwork(const QStringList& resources);

// An image resource at its designed size, read ahead by prefetchArtwork() where it was asked
// for; null where there is none.
[[nodiscard]] QImage artworkImage(const QString& resource);

// Creates a picture box at its place (in pixels) with its name and accessible name.
Picture* makePicture(QWidget* parent, const QString& objectName, const QString& resource,
                     QRect rect, PictureBorder border, const QString& accessibleName);

} // namespace vignetta
