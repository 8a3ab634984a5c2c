// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The work that runs on threads of its own, in a process that can have no more threads: it is
// done all the same, on the thread that asked for it.

#include "support/image_folder.h"
#include "support/publish_request.h"
#include "support/test_pictures.h"

#include "selection/listing_worker.h"
#include "thumbnails/publish_job.h"

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
    PublishJob job(publishRequest(folder.path(), QStringList{u"a.jpg"_s, u"b.jpg"_s}));
    QSignalSpy finished(&job, &PublishJob::finished);
    job.start();
    QVERIFY(finished.wait(60000) || finished.count() == 1);
    QVERIFY2(job.result().complete(), qPrintable(job.result().error));
    QCOMPARE(job.result().made, 2);
}

void TestWithoutThreads::pageIsSaved()
{
    ImageFolder folder;
    PublishRequest request = publishRequest(folder.path(), QStringList{u"a.jpg"_s});
    request.state.bThumbnails = false;
    PublishJob job(request);
    QSignalSpy finished(&job, &PublishJob::finished);
    job.start();
    QVERIFY(finished.wait(60000) || finished.count() == 1);
    QVERIFY2(job.result().page.ok, qPrintable(job.result().page.error));
    QFile page(folder.filePath(u"Vignetta.html"_s));
    QVERIFY(page.open(QIODevice::ReadOnly));
    QCOMPARE(page.readAll(), renderPage(request.state));
}

QTEST_GUILESS_MAIN(TestWithoutThreads)
#include "tst_without_threads.moc"
