// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The work that runs on threads of its own, in a process that can have no more threads: it is
// done all the same, on the thread that asked for it.

#include "support/image_folder.h"
#include "support/test_pictures.h"

#include "output/page_save_job.h"
#include "selection/listing_worker.h"
#include "thumbnails/thumbnail_job.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <optional>
#include <system_error>
#include <thread>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

class TestWithoutThreads : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void folderIsListed();
    void thumbnailsAreMade();
    void pageIsSaved();
};

void TestWithoutThreads::initTestCase()
{
    ::setenv("VIGNETTA_REFUSE_THREADS", "1", 1);
    bool refused = false;
    try {
        std::thread([] {}).join();
    } catch (const std::system_error&) {
        refused = true;
    }
    if (!refused) {
        ::unsetenv("VIGNETTA_REFUSE_THREADS");
        QSKIP("New threads cannot be refused in this run: the no_threads library is not "
              "preloaded, or does not come first.");
    }
}

void TestWithoutThreads::cleanupTestCase()
{
    ::unsetenv("VIGNETTA_REFUSE_THREADS");
}

void TestWithoutThreads::folderIsListed()
{
    ImageFolder folder({u"a.jpg"_s, u"b.gif"_s, u"notes.txt"_s});
    std::optional<ScanResult> read;
    ListingWorker worker(
        this, [&](ScanResult result) { read = std::move(result); }, [](std::size_t) {});
    worker.start(QFile::encodeName(folder.path()), u"*.jpg;*.gif;*.bmp"_s);
    QTRY_VERIFY(read.has_value());
    QVERIFY(read->ok);
    QCOMPARE(read->listing.files->size(), 2U);
}

void TestWithoutThreads::thumbnailsAreMade()
{
    ImageFolder folder;
    QVERIFY(test_pictures::markedPicture({400, 300}).save(folder.filePath(u"a.jpg"_s), "JPEG"));
    QVERIFY(test_pictures::markedPicture({300, 400}).save(folder.filePath(u"b.jpg"_s), "JPEG"));
    ThumbnailJob job({folder.path(), u"Vignetta.html"_s, {"a.jpg", "b.jpg"}, {150, 150}});
    QSignalSpy finished(&job, &ThumbnailJob::finished);
    job.start();
    QVERIFY(finished.wait(60000) || finished.count() == 1);
    QVERIFY2(job.result().complete(), qPrintable(job.result().error));
    QCOMPARE(job.result().made, 2);
}

void TestWithoutThreads::pageIsSaved()
{
    ImageFolder folder;
    std::optional<SaveResult> saved;
    PageSaveJob job(
        folder.path(), u"Vignetta.html"_s,
        [](const PageSink& sink) { return sink(QByteArrayView("<html>")); },
        [&](const SaveResult& result) { saved = result; });
    job.start();
    QTRY_VERIFY(saved.has_value());
    QVERIFY2(saved->ok, qPrintable(saved->error));
    QFile page(folder.filePath(u"Vignetta.html"_s));
    QVERIFY(page.open(QIODevice::ReadOnly));
    QCOMPARE(page.readAll(), QByteArray("<html>"));
}

QTEST_GUILESS_MAIN(TestWithoutThreads)
#include "tst_without_threads.moc"
