#include "support/ScriptedHost.h"

int ScriptedHost::showMessage(const QString& text, int style)
{
    messages.push_back({text, style, busyDepth > 0});
    if (answers.empty())
        return msg::Yes;
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
