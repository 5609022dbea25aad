#include "wavetool.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("parlix-wave"));
    return WaveTool::run(QCoreApplication::arguments(), stdout, stderr);
}
