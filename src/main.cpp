#include "core/product.h"
#include "wizard/form_vg.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

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
    options.process(app);

    vignetta::formVG window(QDir::currentPath());
    QObject::connect(&window, &vignetta::formVG::exitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}
