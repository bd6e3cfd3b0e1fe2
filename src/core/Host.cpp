#include "core/Host.h"

int ShowMessage(Host& host, const QString& text, int style)
{
    return host.showMessage(text, style);
}

void Host::changePointerScopes(int busy, int normal)
{
    const auto isBusy = [this] { return busyScopes_ > 0 && normalScopes_ == 0; };
    const bool before = isBusy();
    busyScopes_ += busy;
    normalScopes_ += normal;
    if (isBusy() != before)
        setBusy(!before);
}
