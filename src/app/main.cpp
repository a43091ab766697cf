#include "core/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stivora"));
    const auto italian = InstallQtTranslations();
    const int status = Main(QApplication::arguments(), QApplication::applicationFilePath());
    if (status != 0) return status;
    return app.exec();
}
