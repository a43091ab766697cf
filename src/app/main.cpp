#include "core/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stivora"));
    const int status = Main(QApplication::arguments(), QApplication::applicationFilePath());
    if (status != 0) return status;
    return app.exec();
}
