#include "Bench.h"

#include <QApplication>
#include <QStringList>

// Every suite, or only those named on the command line ("measure", "can"...).
int main(int argc, char* argv[])
{
    // The grid bench paints widgets; without a display it paints offscreen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const struct {
        const char* name;
        void (*run)();
    } suites[] = {{"model", benchModel},     {"fieldbus", benchFieldbus}, {"serial", benchSerial},
                  {"can", benchCan},         {"device", benchDevice},     {"measure", benchMeasure},
                  {"grid", benchGrid},       {"tools", benchTools},       {"startup", benchStartup}};
    const QStringList chosen = application.arguments().mid(1);
    for (const auto& suite : suites)
        if (chosen.isEmpty() || chosen.contains(QLatin1String(suite.name)))
            suite.run();
    return 0;
}
