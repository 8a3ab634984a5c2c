#include "wizard/form_vg.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vignetta"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));

    vignetta::formVG window;
    QObject::connect(&window, &vignetta::formVG::exitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}
