#include "core/Host.h"

int ShowMessage(Host& host, const QString& text, int style)
{
    return host.showMessage(text, style);
}
