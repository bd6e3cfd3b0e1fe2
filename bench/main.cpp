#include "Bench.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The grid bench paints widgets; without a display it paints offscreen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchModel();
    benchFieldbus();
    benchSerial();
    benchCan();
    benchDevice();
    benchStartup();
    benchGrid();
    return 0;
}
