// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Thumbnail sizes, names and decoding, each on its own.

#include "support/image_folder.h"
#include "support/test_pictures.h"

#include "thumbnails/photo_location.h"
#include "thumbnails/publish_job.h"
#include "thumbnails/thumbnail_maker.h"
#include "thumbnails/thumbnail_names.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <algorithm>

using namespace vignetta;
using namespace test_pictures;
using namespace Qt::Literals::StringLiterals;

class TestThumbnails : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sizes_data();
    void sizes();
    void namesNeverMeet_data();
    void namesNeverMeet();
    void namesAreShortSafeAndStable();
    void meetingDigestsAreParted();
    void markerNamesImageAndBox();
    void largeJpegDecodedAtReducedSize();
    void copySizes_data();
    void copySizes();
    void madeFilesCarryOnlyPixels();
    void timeLeftOnceTheRateIsKnown_data();
    void timeLeftOnceTheRateIsKnown();
    void photoLocation_data();
    void photoLocation();
    void picturesToldByTheirContent_data();
    void picturesToldByTheirContent();
};

namespace {

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

} // namespace

void TestThumbnails::sizes_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSize>("css");

    const QSize box(150, 150);
    QTest::newRow("12 megapixels, landscape")
        << QSize(4000, 3000) << box << QSize(300, 225) << QSize(150, 113);
    QTest::newRow("portrait") << QSize(3000, 4000) << box << QSize(225, 300) << QSize(113, 150);
    QTest::newRow("square") << QSize(1000, 1000) << box << QSize(300, 300) << QSize(150, 150);
    QTest::newRow("wide box, height-bound")
        << QSize(1600, 900) << QSize(200, 100) << QSize(356, 200) << QSize(178, 100);
    QTest::newRow("small image keeps its pixels, fills the box")
        << QSize(40, 30) << box << QSize(40, 30) << QSize(150, 113);
    QTest::newRow("exactly twice the box")
        << QSize(300, 300) << box << QSize(300, 300) << QSize(150, 150);
    QTest::newRow("one side over twice the box")
        << QSize(301, 10) << box << QSize(300, 10) << QSize(150, 5);
    QTest::newRow("a line of pixels keeps one")
        << QSize(1, 5000) << box << QSize(1, 300) << QSize(1, 150);
    QTest::newRow("huge box") << QSize(4000, 3000) << QSize(100000, 100000) << QSize(4000, 3000)
                              << QSize(100000, 75000);
}

void TestThumbnails::sizes()
{
    QFETCH(QSize, image);
    QFETCH(QSize, box);
    QFETCH(QSize, pixels);
    QFETCH(QSize, css);
    const ThumbnailSizes sizes = thumbnailSizes(image, box);
    QCOMPARE(sizes.pixels, pixels);
    QCOMPARE(sizes.css, css);
}

void TestThumbnails::namesNeverMeet_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("letter case") << QStringList{"IMG_1.JPG", "img_1.jpg", "Img_1.jpg"};
    QTest::newRow("characters vfat refuses")
        << QStringList{"a:b.jpg", "a?b.jpg", "a*b.jpg", "a_b.jpg",  "a\"b.jpg",
                       "a<b.jpg", "a>b.jpg", "a|b.jpg", "a\\b.jpg", "a b.jpg"};
    QTest::newRow("control characters") << QStringList{"a\nb.jpg", "a\rb.jpg", "a\tb.jpg",
                                                       "a\x01"
                                                       "b.jpg"};
    QTest::newRow("accents") << QStringList{u"\u00e9t\u00e9.jpg"_s, u"ete.jpg"_s,
                                            u"e\u0301te\u0301.jpg"_s};
    QTest::newRow("extension only") << QStringList{"a.jpg", "a.gif", "a.bmp", "a.JPG"};
    QTest::newRow("same long start")
        << QStringList{QString(200, u'x') + u"1.jpg"_s, QString(200, u'x') + u"2.jpg"_s};
    QTest::newRow("half surrogate pairs")
        << QStringList{QString::fromUtf16(u"a\xd800.jpg"), QString::fromUtf16(u"a\xd801.jpg")};
}

void TestThumbnails::namesNeverMeet()
{
    QFETCH(QStringList, names);
    const QStringList bases = thumbnailBaseNames(names);
    QCOMPARE(bases.size(), names.size());
    QSet<QString> distinct;
    for (const QString& base : bases)
        distinct.insert(base.toLower()); // not even on a file system that ignores case
    QCOMPARE(distinct.size(), names.size());
}

void TestThumbnails::namesAreShortSafeAndStable()
{
    const QStringList names{u"IMG_0001.JPG"_s, u"Beach day: \"best\" <1>?.jpg"_s,
                            QString(300, QChar(0x4e2d)) + u".gif"_s, u".jpg"_s,
                            u"\u00c9t\u00e9 2023.bmp"_s};
    const QStringList bases = thumbnailBaseNames(names);
    QCOMPARE(bases[0], u"img_0001-"_s + bases[0].right(12));
    QCOMPARE(bases[1].left(bases[1].size() - 13), u"beach_day_best_1"_s);
    QCOMPARE(bases[2].left(bases[2].size() - 13), u"image"_s);
    QCOMPARE(bases[4].left(bases[4].size() - 13), u"ete_2023"_s);
    for (const QString& base : bases) {
        QVERIFY2(hasThumbnailFileShape(QString(base + u".jpg"_s)), qPrintable(base));
        QVERIFY2(hasThumbnailFileShape(QString(base + u".png"_s)), qPrintable(base));
        QVERIFY(base.size() <= kReadableLength + 13);
    }
    // The same names give the same thumbnails, whatever their order on the page.
    QStringList reversed = names;
    std::reverse(reversed.begin(), reversed.end());
    QStringList again = thumbnailBaseNames(reversed);
    std::reverse(again.begin(), again.end());
    QCOMPARE(again, bases);
    // An image named twice has one thumbnail.
    const QStringList twice = thumbnailBaseNames({u"a.jpg"_s, u"a.jpg"_s});
    QCOMPARE(twice.size(), 2);
    QCOMPARE(twice[0], twice[1]);

    QVERIFY(!hasThumbnailFileShape(u"IMG_0001.jpg"_s));
    QVERIFY(!hasThumbnailFileShape(u"img-0123456789ab.gif"_s));
    QVERIFY(!hasThumbnailFileShape(u"img-0123456789AB.jpg"_s));
    QVERIFY(!hasThumbnailFileShape(u"img-0123456789ab.jpg.tmp"_s));
}

void TestThumbnails::meetingDigestsAreParted()
{
    // With one hexadecimal digit, digests meet all the time: every name still gets its own,
    // and the same one whatever the order.
    QStringList names;
    for (int i = 0; i < 40; ++i)
        names.append(u"p%1.jpg"_s.arg(i % 2 == 0 ? i : 0)); // many share their readable part
    names.removeDuplicates();
    const QStringList bases = thumbnailBaseNames(names, 1);
    QCOMPARE(QSet<QString>(bases.begin(), bases.end()).size(), names.size());
    QStringList shuffled = names;
    std::rotate(shuffled.begin(), shuffled.begin() + 7, shuffled.end());
    const QStringList again = thumbnailBaseNames(shuffled, 1);
    for (qsizetype i = 0; i < shuffled.size(); ++i)
        QCOMPARE(again[i], bases[names.indexOf(shuffled[i])]);
}

void TestThumbnails::markerNamesImageAndBox()
{
    const QString marker = thumbnailMarker(u"a.jpg", {150, 150});
    QCOMPARE(marker, thumbnailMarker(u"a.jpg", {150, 150}));
    QVERIFY(marker != thumbnailMarker(u"A.jpg", {150, 150}));
    QVERIFY(marker != thumbnailMarker(u"a.jpg", {150, 151}));
    QVERIFY(marker != thumbnailMarker(u"a.jpg", {151, 150}));
    QVERIFY(copyMarker(u"a.jpg") != copyMarker(u"A.jpg"));
    QVERIFY(!copyMarker(u"a.jpg").startsWith(marker.first(2)));
}

void TestThumbnails::copySizes_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("jpeg");
    QTest::addColumn<QSize>("copy");
    QTest::newRow("small: as it is") << QSize(1600, 1200) << true << QSize(1600, 1200);
    QTest::newRow("12 MP JPEG: the decoder's half")
        << QSize(4000, 3000) << true << QSize(2000, 1500);
    QTest::newRow("12 MP upright, odd: rounded up")
        << QSize(3023, 4031) << true << QSize(1512, 2016);
    QTest::newRow("48 MP JPEG: the decoder's quarter")
        << QSize(8000, 6000) << true << QSize(2000, 1500);
    QTest::newRow("24 MP JPEG: a half too large, a quarter too small")
        << QSize(6000, 4000) << true << QSize(2048, 1365);
    QTest::newRow("12 MP PNG: the limit") << QSize(4000, 3000) << false << QSize(2048, 1536);
    QTest::newRow("a panorama") << QSize(12000, 2000) << true << QSize(2048, 341);
}

void TestThumbnails::copySizes()
{
    QFETCH(QSize, picture);
    QFETCH(bool, jpeg);
    QFETCH(QSize, copy);
    QCOMPARE(copySize(picture, jpeg), copy);
}

void TestThumbnails::madeFilesCarryOnlyPixels()
{
    // Whatever the original carries (here an orientation, a comment and a colour profile), a
    // thumbnail or copy holds its pixels and nothing else.
    QImage photo = markedPicture({640, 480});
    photo.setText(u"Comment"_s, u"taken at home"_s);
    photo.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QByteArray original = withExifOrientation(jpegBytes(photo), 6);
    ImageFolder folder;
    QVERIFY(writeBytes(folder.filePath(u"photo.jpg"_s), original));
    const std::atomic_bool cancel{false};
    const DecodedPicture picture =
        readPicture(QFile::encodeName(folder.filePath(u"photo.jpg"_s)), {150, 150}, true, cancel);
    QCOMPARE(picture.copy.size(), QSize(480, 640)); // upright
    QCOMPARE(picture.thumbnail.size(), QSize(225, 300));
    for (const QImage& image : {picture.copy, picture.thumbnail}) {
        const EncodedPicture encoded = encodePicture(image);
        QCOMPARE(encoded.suffix, u".jpg"_s);
        QBuffer buffer;
        buffer.setData(encoded.bytes);
        QImageReader reader(&buffer);
        QCOMPARE(reader.textKeys(), QStringList());
        QCOMPARE(reader.transformation(), QImageIOHandler::TransformationNone);
        QVERIFY(!reader.read().colorSpace().isValid() ||
                reader.read().colorSpace() == QColorSpace(QColorSpace::SRgb));
        // Only the JFIF header before the picture: no APP1 (EXIF, XMP), APP2 (ICC), APP13
        // (IPTC) or COM segment.
        const QByteArray header = encoded.bytes.first(encoded.bytes.indexOf("\xFF\xDA"));
        for (const char* segment : {"\xFF\xE1", "\xFF\xE2", "\xFF\xED", "\xFF\xFE"})
            QVERIFY(!header.contains(segment));
    }
}

void TestThumbnails::largeJpegDecodedAtReducedSize()
{
    // Decoded whole, the JPEG would take 3000 x 2000 x 4 bytes, far over the limit set here:
    // its thumbnail can only come from a decode at reduced size. A BMP cannot be read so.
    ImageFolder folder;
    QVERIFY(markedPicture({3000, 2000}).save(folder.filePath(u"big.jpg"_s), "JPEG"));
    QVERIFY(markedPicture({3000, 2000}).save(folder.filePath(u"big.bmp"_s), "BMP"));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(8);
    const auto restore = qScopeGuard([limit] { QImageReader::setAllocationLimit(limit); });

    const std::atomic_bool cancel{false};
    QString problem;
    const QImage fromJpeg = readThumbnail(QFile::encodeName(folder.filePath(u"big.jpg"_s)),
                                          {150, 150}, cancel, &problem);
    QVERIFY2(!fromJpeg.isNull(), qPrintable(problem));
    QCOMPARE(fromJpeg.size(), QSize(300, 200));
    QVERIFY(alike(fromJpeg.pixel(3, 3), quarterColours()[0]));
    QVERIFY(readThumbnail(QFile::encodeName(folder.filePath(u"big.bmp"_s)), {150, 150}, cancel,
                          &problem)
                .isNull());
    QVERIFY(!problem.isEmpty());
}

void TestThumbnails::timeLeftOnceTheRateIsKnown_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("toDo");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<qint64>("msLeft");
    QTest::newRow("none done") << 0 << 10 << qint64(5000) << qint64(-1);
    // One slow first thumbnail of 600 would have told of ten minutes for a job of 50 s.
    QTest::newRow("the first of many") << 1 << 600 << qint64(1000) << qint64(-1);
    QTest::newRow("just under 5 %") << 29 << 600 << qint64(1999) << qint64(-1);
    QTest::newRow("5 % done") << 30 << 600 << qint64(1500) << qint64(28500);
    QTest::newRow("2 s of work") << 2 << 600 << qint64(2000) << qint64(598000);
    QTest::newRow("one of few") << 1 << 10 << qint64(50) << qint64(450);
    QTest::newRow("all done") << 10 << 10 << qint64(900) << qint64(0);
}

void TestThumbnails::timeLeftOnceTheRateIsKnown()
{
    QFETCH(int, done);
    QFETCH(int, toDo);
    QFETCH(qint64, elapsedMs);
    QFETCH(qint64, msLeft);
    QCOMPARE(timeLeftEstimate(done, toDo, elapsedMs), msLeft);
}

void TestThumbnails::photoLocation_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("located");
    const QByteArray jpeg = jpegBytes(markedPicture({64, 48}));
    const QByteArray exif("Exif\0\0", 6);
    const QList<std::pair<int, quint32>> orientation{{0x0112, 1}};
    // GPSVersionID, GPSLatitudeRef, GPSLatitude, GPSLongitudeRef, GPSLongitude.
    const QList<std::pair<int, quint32>> place{
        {0, 0x02020000}, {1, 'N'}, {2, 200}, {3, 'E'}, {4, 300}};
    QTest::newRow("a phone's photo with its place")
        << withApp1(jpeg, exif + exifTiff(orientation, place)) << true;
    QTest::newRow("the same, big-endian")
        << withApp1(jpeg, exif + exifTiff(orientation, place, true)) << true;
    QTest::newRow("a GPS block with no place in it")
        << withApp1(jpeg, exif + exifTiff(orientation, {{0, 0x02020000}})) << false;
    QTest::newRow("no GPS block") << withApp1(jpeg, exif + exifTiff(orientation, {})) << false;
    QTest::newRow("no EXIF at all") << jpeg << false;
    QTest::newRow("the place in XMP")
        << withApp1(jpeg, QByteArray("http://ns.adobe.com/xap/1.0/") + '\0' +
                              "<x:xmpmeta><rdf:Description exif:GPSLatitude=\"48,51.5N\" "
                              "exif:GPSLongitude=\"2,17.6E\"/></x:xmpmeta>")
        << true;
    // Hostile headers are read as holding no place, never past their end.
    QByteArray pastTheEnd = exif + exifTiff({{0x8825, 0xFFFFFFF0}}, {});
    QTest::newRow("a GPS pointer past the end") << withApp1(jpeg, pastTheEnd) << false;
    QByteArray countless = exif + exifTiff(orientation, {});
    countless[6 + 8] = char(0xFF);
    countless[6 + 9] = char(0xFF);
    QTest::newRow("an IFD claiming 65535 entries") << withApp1(jpeg, countless) << false;
    QTest::newRow("cut inside its EXIF")
        << withApp1(jpeg, exif + exifTiff(orientation, place)).first(40) << false;
    QTest::newRow("a PNG") << encoded(markedPicture({8, 8}), "png") << false;
}

void TestThumbnails::photoLocation()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, located);
    QCOMPARE(recordsLocation(file), located);
}

void TestThumbnails::picturesToldByTheirContent_data()
{
    // Every file is named "picture.jpg": only its content counts.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("made");
    QTest::addColumn<QString>("problem");
    const QImage photo = markedPicture({800, 600});
    const QByteArray jpeg = encoded(photo, "jpeg");
    const QByteArray png = encoded(photo, "png");
    const QByteArray bmp = encoded(photo, "bmp");
    const QByteArray gif = gifBytes({200, 100}, quarterColours(), {QByteArray(20000, '\1')});
    const QString cut = QString::fromUtf16(kCutShort);
    const QString notAPicture = u"it is not a JPEG, PNG, GIF or BMP picture"_s;
    QTest::newRow("JPEG") << jpeg << true << QString();
    QTest::newRow("progressive JPEG") << encoded(photo, "jpeg", true) << true << QString();
    QTest::newRow("JPEG with more after its end") << jpeg + png << true << QString();
    QTest::newRow("PNG") << png << true << QString();
    QTest::newRow("BMP") << bmp << true << QString();
    QTest::newRow("GIF") << gif << true << QString();
    QTest::newRow("JPEG cut in half") << jpeg.left(jpeg.size() / 2) << true << cut;
    QTest::newRow("progressive JPEG cut short")
        << encoded(photo, "jpeg", true).chopped(2000) << true << cut;
    QTest::newRow("BMP cut short") << bmp.chopped(bmp.size() / 3) << true << cut;
    QTest::newRow("GIF cut short") << gif.chopped(gif.size() / 3) << true << cut;
    QTest::newRow("PNG cut short") << png.left(png.size() / 2) << false << QString();
    QTest::newRow("a PPM picture") << encoded(photo, "ppm") << false << notAPicture;
    QTest::newRow("an SVG drawing that shows another file")
        << QByteArray(R"(<svg xmlns="http://www.w3.org/2000/svg" width="80" height="60">)"
                      R"(<image href="/etc/secret.png" width="80" height="60"/></svg>)")
        << false << notAPicture;
}

void TestThumbnails::picturesToldByTheirContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, made);
    QFETCH(QString, problem);
    ImageFolder folder;
    QVERIFY(writeBytes(folder.filePath(u"picture.jpg"_s), bytes));
    const std::atomic_bool cancel{false};
    QString told;
    const QImage thumbnail = readThumbnail(QFile::encodeName(folder.filePath(u"picture.jpg"_s)),
                                           {150, 150}, cancel, &told);
    QCOMPARE(!thumbnail.isNull(), made);
    if (made || !problem.isEmpty())
        QCOMPARE(told, problem);
    else
        QVERIFY(!told.isEmpty());
}

QTEST_GUILESS_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
