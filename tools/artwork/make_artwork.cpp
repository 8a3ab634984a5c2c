// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws Vignetta's artwork (logo mark, title picture, About banner and the
// window and desktop icons) and writes it as PNG files into a folder.
//
// Usage: make_artwork <outdir>
//
// The drawing is fully deterministic: the same Qt version and fonts always
// produce the same pixels.

#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

// Palette shared by all pictures.
const QColor kInkDark(0x1d, 0x35, 0x57);
const QColor kInkLight(0x2a, 0x6e, 0x8c);
const QColor kSubtitle(0x55, 0x61, 0x70);
const QColor kSkyTop(0x4a, 0x93, 0xd6);
const QColor kSkyBottom(0xc8, 0xe5, 0xf8);
const QColor kSun(0xff, 0xc6, 0x33);
const QColor kHillBack(0x8f, 0xc8, 0x6b);
const QColor kHillFront(0x3b, 0x8c, 0x4c);
const QColor kMat(0xff, 0xff, 0xff);
const QColor kEdge(0x6e, 0x7a, 0x89);
const QColor kWarmTop(0xf0, 0x8f, 0x4e);
const QColor kWarmBottom(0xf8, 0xd3, 0x7c);
const QColor kCoolTop(0x6f, 0x8f, 0xc9);
const QColor kCoolBottom(0xb7, 0xcd, 0xec);

// Background of the opaque pictures: a light neutral that sits well on a grey
// window.
const QColor kPaperTop(0xfb, 0xfb, 0xfa);
const QColor kPaperBottom(0xec, 0xee, 0xf1);

// Colours and sun position of a little landscape photo.
struct Scene
{
    QColor skyTop, skyBottom, sun, hillBack, hillFront;
    qreal sunX, sunY;
};

// The scene on the front card of the mark.
const Scene kDay{kSkyTop, kSkyBottom, kSun, kHillBack, kHillFront, 0.72, 0.30};

// Fills the picture area of a photo card with a small landscape: sky, sun and
// two hills. `r` is in device pixels; `scale` is device pixels per mark unit.
void drawLandscape(QPainter& p, const QRectF& r, qreal scale, const Scene& scene = kDay)
{
    p.save();
    p.setClipRect(r);

    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, scene.skyTop);
    sky.setColorAt(1.0, scene.skyBottom);
    p.fillRect(r, sky);

    const qreal w = r.width();
    const qreal h = r.height();
    const auto at = [&](qreal fx, qreal fy) {
        return QPointF(r.left() + fx * w, r.top() + fy * h);
    };

    // Sun: never smaller than a couple of pixels, so it survives at 16 px.
    const QPointF sunCentre = at(scene.sunX, scene.sunY);
    const qreal sunRadius = std::max(0.15 * h, 1.2);
    if (scale >= 1.2) {
        QRadialGradient glow(sunCentre, sunRadius * 2.4);
        QColor inner = scene.sun.lighter(125);
        inner.setAlpha(150);
        QColor outer = inner;
        outer.setAlpha(0);
        glow.setColorAt(0.0, inner);
        glow.setColorAt(0.45, inner);
        glow.setColorAt(1.0, outer);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(sunCentre, sunRadius * 2.4, sunRadius * 2.4);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(scene.sun);
    p.drawEllipse(sunCentre, sunRadius, sunRadius);

    // Far hill: a broad swell rising from the left.
    QPainterPath far;
    far.moveTo(at(-0.05, 0.78));
    far.cubicTo(at(0.15, 0.48), at(0.42, 0.42), at(0.62, 0.62));
    far.cubicTo(at(0.78, 0.76), at(0.92, 0.70), at(1.05, 0.66));
    far.lineTo(at(1.05, 1.05));
    far.lineTo(at(-0.05, 1.05));
    far.closeSubpath();
    p.setBrush(scene.hillBack);
    p.drawPath(far);

    // Near hill: darker, rising to the right.
    QPainterPath nearHill;
    nearHill.moveTo(at(-0.05, 0.98));
    nearHill.cubicTo(at(0.30, 0.90), at(0.55, 0.58), at(0.86, 0.60));
    nearHill.cubicTo(at(0.95, 0.61), at(1.0, 0.64), at(1.05, 0.66));
    nearHill.lineTo(at(1.05, 1.05));
    nearHill.lineTo(at(-0.05, 1.05));
    nearHill.closeSubpath();
    p.setBrush(scene.hillFront);
    p.drawPath(nearHill);

    p.restore();
}

// A soft shadow under a rounded rectangle, built from a few translucent layers.
void drawShadow(QPainter& p, const QRectF& r, qreal radius, qreal spread, int strength)
{
    p.save();
    p.setPen(Qt::NoPen);
    const int layers = std::max(1, static_cast<int>(std::ceil(spread)));
    for (int i = layers; i >= 1; --i) {
        const qreal grow = spread * i / layers;
        const int alpha = strength / layers;
        p.setBrush(QColor(0x1a, 0x24, 0x33, alpha));
        p.drawRoundedRect(r.adjusted(-grow, -grow * 0.6, grow, grow), radius + grow, radius + grow);
    }
    p.restore();
}

// One photo card: outline, white mat and a picture inside. `card` is centred on
// the painter's origin, which the caller may have rotated.
template <typename FillPicture>
void drawCard(QPainter& p, const QRectF& card, qreal edge, qreal mat, qreal radius,
              FillPicture fillPicture)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kEdge);
    p.drawRoundedRect(card, radius, radius);
    const QRectF matRect = card.adjusted(edge, edge, -edge, -edge);
    p.setBrush(kMat);
    p.drawRoundedRect(matRect, std::max(0.0, radius - edge), std::max(0.0, radius - edge));
    fillPicture(matRect.adjusted(mat, mat, -mat, -mat));
}

// The Vignetta mark: a stack of three photo cards, the front one showing a sun
// over hills. Drawn into `box` (square); details adapt to the pixel size so the
// mark stays crisp from 16 px up to 256 px.
void drawMark(QPainter& p, const QRectF& box)
{
    const qreal size = box.width();
    const qreal s = size / 48.0; // device pixels per design unit
    const auto snap = [](qreal v) { return std::round(v); };
    const qreal edge = std::max(1.0, snap(0.5 * s));
    const qreal mat = std::max(1.0, snap(2.1 * s));
    const qreal radius = size < 24 ? 0.0 : 1.1 * s;
    const bool shadows = size >= 24;
    // Below 20 px rotated cards turn to mush, so the stack is drawn upright
    // with each card stepped up and to the right by whole pixels.
    const bool upright = size < 20;
    // When only a sliver of a back card shows, a mat would hide its colour.
    const qreal backMat = size < 28 ? 0.0 : mat;

    struct BackCard
    {
        qreal cx, cy, angle;
        QColor top, bottom;
    };
    // Back-most first.
    const std::array<BackCard, 2> backs{{
        {29.5, 19.5, 10.0, kCoolTop, kCoolBottom},
        {18.5, 22.0, -14.0, kWarmTop, kWarmBottom},
    }};
    const auto fillBack = [&](const BackCard& b) {
        return [&p, &b](const QRectF& pic) {
            QLinearGradient g(pic.topLeft(), pic.bottomLeft());
            g.setColorAt(0.0, b.top);
            g.setColorAt(1.0, b.bottom);
            p.fillRect(pic, g);
        };
    };

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(box.topLeft());

    QRectF front;
    if (upright) {
        const qreal step = 2.0;
        const qreal w = size - 1.0 - 2.0 * step;
        const qreal h = snap(w * 0.8);
        front = QRectF(1.0, size - 1.0 - h, w, h);
        for (int i = 2; i >= 1; --i) {
            drawCard(p, front.translated(i * step, -i * step), edge, backMat, radius,
                     fillBack(backs[2 - i]));
        }
    } else {
        const QRectF backCard(-15.0 * s, -11.0 * s, 30.0 * s, 22.0 * s);
        for (const BackCard& b : backs) {
            p.save();
            p.translate(b.cx * s, b.cy * s);
            p.rotate(b.angle);
            if (shadows) {
                drawShadow(p, backCard.translated(0, 0.5 * s), radius, 0.8 * s, 60);
            }
            drawCard(p, backCard, edge, backMat, radius, fillBack(b));
            p.restore();
        }
        // The front card stays upright and on the pixel grid.
        front =
            QRectF(QPointF(snap(6.0 * s), snap(16.0 * s)), QPointF(snap(42.0 * s), snap(43.0 * s)));
    }

    if (shadows) {
        drawShadow(p, front.translated(0, 0.8 * s), radius, 1.4 * s, 90);
    }
    drawCard(p, front, edge, mat, radius, [&](const QRectF& pic) { drawLandscape(p, pic, s); });

    p.restore();
}

void fillPaper(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, kPaperTop);
    g.setColorAt(1.0, kPaperBottom);
    p.fillRect(r, g);
}

// A thin rule in the colours of the mark: sky, hills and sun.
void drawAccentRule(QPainter& p, const QRectF& r)
{
    QLinearGradient rule(r.topLeft(), r.topRight());
    rule.setColorAt(0.0, kSkyTop);
    rule.setColorAt(0.55, kHillFront);
    rule.setColorAt(1.0, kSun);
    p.fillRect(r, rule);
}

QFont makeFont(const QString& family, int pixelSize, QFont::Weight weight)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

// Draws the word "Vignetta" with its baseline at `baseline`, starting at `x`,
// in a navy-to-teal gradient with a faint highlight underneath.
void drawWordmark(QPainter& p, const QFont& font, qreal x, qreal baseline)
{
    const QString word = QStringLiteral("Vignetta");
    const QFontMetricsF fm(font);
    const qreal width = fm.horizontalAdvance(word);

    QPainterPath path;
    path.addText(QPointF(x, baseline), font, word);

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawPath(path.translated(0, 1));

    QLinearGradient ink(QPointF(x, baseline - fm.ascent()), QPointF(x + width, baseline));
    ink.setColorAt(0.0, kInkDark);
    ink.setColorAt(1.0, kInkLight);
    p.setBrush(ink);
    p.drawPath(path);
    p.restore();
}

// Largest pixel size (up to `maxSize`) at which `text` fits in `width`.
int fitPixelSize(const QString& family, QFont::Weight weight, const QString& text, qreal width,
                 int maxSize)
{
    int size = maxSize;
    while (size > 6 &&
           QFontMetricsF(makeFont(family, size, weight)).horizontalAdvance(text) > width) {
        --size;
    }
    return size;
}

QImage makeMark(int size, bool opaque)
{
    QImage img(size, size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    if (opaque) {
        fillPaper(p, QRectF(0, 0, size, size));
    }
    drawMark(p, QRectF(0, 0, size, size));
    p.end();
    return img;
}

// The title picture, drawn `scale` times finer than its 205 x 41 design for dense screens.
QImage makeTitle(int scale)
{
    const QSize size(205, 41);
    QImage img(size * scale, QImage::Format_RGB32);
    QPainter p(&img);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, true);
    fillPaper(p, QRectF(QPointF(0, 0), size));
    const qreal ruleHeight = 2;
    drawAccentRule(p, QRectF(0, size.height() - ruleHeight, size.width(), ruleHeight));

    const QString family = QStringLiteral("DejaVu Serif");
    const QString word = QStringLiteral("Vignetta");
    const int px = fitPixelSize(family, QFont::Bold, word, size.width() - 24.0, 32);
    const QFont font = makeFont(family, px, QFont::Bold);
    const QFontMetricsF fm(font);
    const qreal x = std::round((size.width() - fm.horizontalAdvance(word)) / 2.0);
    // Centre the letters, from cap height down to the descender, above the rule.
    const qreal area = size.height() - ruleHeight;
    const qreal baseline = std::round((area + fm.capHeight() - fm.descent()) / 2.0);
    drawWordmark(p, font, x, baseline);
    p.end();
    return img;
}

// The About banner, drawn `scale` times finer than its 428 x 69 design for dense screens.
QImage makeBanner(int scale)
{
    const QSize size(428, 69);
    QImage img(size * scale, QImage::Format_RGB32);
    QPainter p(&img);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, true);
    fillPaper(p, QRectF(QPointF(0, 0), size));

    drawAccentRule(p, QRectF(0, size.height() - 3, size.width(), 3));

    // At the right, a faded grid of thumbnails like the pages Vignetta makes.
    const std::array<Scene, 8> scenes{{
        kDay,
        {QColor(0xe8, 0x7a, 0x4a), QColor(0xf9, 0xd8, 0x8a), QColor(0xff, 0xf1, 0xc4),
         QColor(0xc9, 0x8a, 0x5a), QColor(0x7a, 0x4f, 0x3c), 0.30, 0.55},
        {QColor(0x6c, 0xb4, 0xe4), QColor(0xdc, 0xef, 0xfa), QColor(0xff, 0xd4, 0x4f),
         QColor(0x6f, 0xb5, 0x8e), QColor(0x2f, 0x7a, 0x6a), 0.25, 0.28},
        {QColor(0x3b, 0x4f, 0x8f), QColor(0x9c, 0x8f, 0xc4), QColor(0xf4, 0xf0, 0xe0),
         QColor(0x5a, 0x6b, 0x9a), QColor(0x2e, 0x3a, 0x63), 0.70, 0.28},
        {QColor(0x8a, 0xc4, 0xe8), QColor(0xe6, 0xf3, 0xf9), QColor(0xff, 0xe0, 0x70),
         QColor(0xd9, 0xc2, 0x7a), QColor(0xa8, 0x8a, 0x4a), 0.50, 0.30},
        {QColor(0x4a, 0x93, 0xd6), QColor(0xc8, 0xe5, 0xf8), QColor(0xff, 0xc6, 0x33),
         QColor(0xa7, 0xd3, 0x7c), QColor(0x5f, 0xa3, 0x4f), 0.20, 0.35},
        {QColor(0xd9, 0x6a, 0x7a), QColor(0xf7, 0xc6, 0x9c), QColor(0xff, 0xe9, 0xb0),
         QColor(0x8e, 0x5f, 0x7e), QColor(0x55, 0x3a, 0x5e), 0.62, 0.50},
        {QColor(0x5f, 0xa8, 0xd8), QColor(0xd2, 0xea, 0xf6), QColor(0xff, 0xcf, 0x40),
         QColor(0x8f, 0xc8, 0x6b), QColor(0x3b, 0x8c, 0x4c), 0.80, 0.25},
    }};
    const QSizeF thumb(30, 23);
    const qreal gap = 6;
    const int columns = 4;
    const qreal gridLeft = size.width() - 14 - columns * thumb.width() - (columns - 1) * gap;
    const qreal gridTop = std::round((size.height() - 3 - 2 * thumb.height() - gap) / 2.0);
    for (int i = 0; i < 8; ++i) {
        const int row = i / columns;
        const int col = i % columns;
        const QRectF card(gridLeft + col * (thumb.width() + gap),
                          gridTop + row * (thumb.height() + gap), thumb.width(), thumb.height());
        p.setOpacity(0.30 + 0.15 * col);
        drawShadow(p, card.translated(0, 0.5), 1.0, 1.0, 50);
        drawCard(p, card, 1.0, 2.0, 1.0,
                 [&](const QRectF& pic) { drawLandscape(p, pic, 0.6, scenes[i]); });
    }
    p.setOpacity(1.0);

    const int markSize = 56;
    drawMark(p, QRectF(10, 5, markSize, markSize));

    const qreal textLeft = 10 + markSize + 12;
    const QFont titleFont = makeFont(QStringLiteral("DejaVu Serif"), 32, QFont::Bold);
    drawWordmark(p, titleFont, textLeft, 36);

    const QFont subFont = makeFont(QStringLiteral("DejaVu Sans"), 13, QFont::Normal);
    p.setFont(subFont);
    p.setPen(kSubtitle);
    p.drawText(QPointF(textLeft + 2, 56), QStringLiteral("Thumbnail page wizard"));
    p.end();
    return img;
}

bool save(const QImage& img, const QString& path)
{
    QImage out = img;
    if (!img.hasAlphaChannel()) {
        out = img.convertToFormat(QImage::Format_RGB888);
    } else {
        out = img.convertToFormat(QImage::Format_ARGB32);
    }
    QImageWriter writer(path, "png");
    writer.setQuality(0); // smallest file; PNG is lossless either way
    if (!writer.write(out)) {
        std::fprintf(stderr, "make_artwork: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: make_artwork <outdir>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "make_artwork: cannot create %s\n", argv[1]);
        return 1;
    }

    for (const char* family : {"DejaVu Serif", "DejaVu Sans"}) {
        const QFontInfo info(QFont(QString::fromLatin1(family)));
        if (info.family() != QLatin1String(family)) {
            std::fprintf(stderr, "make_artwork: warning: font %s not found, using %s\n", family,
                         qPrintable(info.family()));
        }
    }

    bool ok = true;
    // The window's pictures at their designed size, and twice and three times as fine for
    // screens scaled by 1.5, 2 or 3; the program picks the finest it needs.
    for (int scale : {1, 2, 3}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        const auto file = [&](const char* name) {
            return out.filePath(QLatin1String(name) + suffix + QLatin1String(".png"));
        };
        ok = save(makeMark(45 * scale, true), file("mark")) && ok;
        ok = save(makeTitle(scale), file("title")) && ok;
        ok = save(makeBanner(scale), file("banner")) && ok;
    }
    ok = save(makeMark(32, false), out.filePath(QStringLiteral("vignetta.png"))) && ok;
    for (int size : {16, 24, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("icons/vignetta-%1.png").arg(size);
        ok = save(makeMark(size, false), out.filePath(name)) && ok;
    }
    return ok ? 0 : 1;
}
