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

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(vignetta::product::kName));
    QApplication::setApplicationVersion(QString::fromLatin1(vignetta::product::kVersion));
    // Ties the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(vignetta::product::kApplicationId));

    QCommandLineParser options;
    options.setApplicationDescription(QString::fromLatin1(vignetta::product::kSummary));
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument(
        u"folder"_s, u"The folder of images to start in; without one, the current directory."_s,
        u"[folder]"_s);
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
    window.show();
    if (!folder.isEmpty() && !usable) {
        QMetaObject::invokeMethod(
            &window, [&window, folder] { window.openFolder(folder); }, Qt::QueuedConnection);
    }
    return QApplication::exec();
}
