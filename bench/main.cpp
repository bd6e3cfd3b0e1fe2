#include "Bench.h"

#include <QCoreApplication>
#include <QStringList>

// Every suite, or only those named on the command line ("measure", "can"...).
int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const struct {
        const char* name;
        void (*run)();
    } suites[] = {{"model", benchModel}, {"fieldbus", benchFieldbus}, {"serial", benchSerial},
                  {"can", benchCan},     {"device", benchDevice},     {"measure", benchMeasure}};
    const QStringList chosen = application.arguments().mid(1);
    for (const auto& suite : suites)
        if (chosen.isEmpty() || chosen.contains(QLatin1String(suite.name)))
            suite.run();
    return 0;
}
