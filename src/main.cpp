#include "wizard/form_vg.h"
#include "wizard/product.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(vignetta::product::kName));
    QApplication::setApplicationVersion(QString::fromLatin1(vignetta::product::kVersion));
    // Ties the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Vignetta"));

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Makes a web page of thumbnails that link to your photos."));
    options.addHelpOption();
    options.addVersionOption();
    options.process(app);

    vignetta::formVG window;
    QObject::connect(&window, &vignetta::formVG::exitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}
