#include "core/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stivora"));
    return Main(QApplication::arguments(), QApplication::applicationFilePath());
}
