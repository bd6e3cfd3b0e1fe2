#include "Bench.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    benchModel();
    benchFieldbus();
    benchSerial();
    benchCan();
    benchDevice();
    benchStartup();
    return 0;
}
