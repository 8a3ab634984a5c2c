// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/product.h"
#include "ui/twips.h"
#include "ui/ui_kit.h"
#include "wizard/form_vg.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QScreen>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

void describe(QCommandLineParser& options)
{
    QCoreApplication::setApplicationName(QString::fromLatin1(vignetta::product::kName));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(vignetta::product::kVersion));
    options.setApplicationDescription(QString::fromLatin1(vignetta::product::kSummary));
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument(
        u"folder"_s, u"The folder of images to start in; without one, the current directory."_s,
        u"[folder]"_s);
}

// Whether the command line asks only for the help or the version text, which are printed
// without a window, so also where there is no display.
bool asksForText(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "--")
            return false;
        if (argument == "-h" || argument == "--help" || argument == "-?" ||
            argument == "--help-all" || argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (asksForText(argc, argv)) {
        const QCoreApplication app(argc, argv);
        QCommandLineParser options;
        describe(options);
        options.process(app); // prints and ends the program
        return 0;
    }

    QApplication app(argc, argv);
    QCommandLineParser options;
    describe(options);
    // Ties the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(vignetta::product::kApplicationId));
    options.process(app);
    const QStringList folders = options.positionalArguments();
    if (folders.size() > 1) {
        // Told as the parser tells its own errors.
        std::fprintf(stderr, "%s: Only one folder can be given, not %lld.\n",
                     qPrintable(QCoreApplication::applicationName()),
                     static_cast<long long>(folders.size()));
        return 1;
    }

    // The whole window grows with the user's interface font.
    const QScreen* screen = QGuiApplication::primaryScreen();
    vignetta::setZoom(vignetta::zoomForFont(
        QApplication::font(), screen != nullptr ? screen->availableGeometry().size() : QSize()));

    // Step 1 opens on the folder given, else where the program was started. A folder that
    // cannot be opened is told about in the wizard's warning box, with the system's reason,
    // once the window shows; Step 1 then starts as it would without one.
    const QString folder = folders.value(0);
    const QFileInfo given(folder);
    const bool usable =
        !folder.isEmpty() && given.isDir() && given.isReadable() && given.isExecutable();
    vignetta::formVG window(usable ? given.absoluteFilePath() : QDir::currentPath());
    QObject::connect(&window, &vignetta::formVG::exitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (!folder.isEmpty() && !usable)
        window.openFolderOnceShown(folder);
    window.show();
    return QApplication::exec();
}
