#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

int ScriptedHost::showMessage(const QString& text, int style)
{
    messages.push_back({text, style, busyDepth > 0});
    if ((style & (msg::OkCancel | msg::YesNo)) == 0)
        return msg::Yes;  // "OK" alone
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return msg::No;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList ScriptedHost::texts() const
{
    QStringList result;
    for (const Message& message : messages)
        result << message.text;
    return result;
}
