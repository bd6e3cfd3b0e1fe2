#include "ui/measure/TextEditor.h"

#include <QProcess>

QStringList textEditorCommand(const QProcessEnvironment& environment, const QString& file)
{
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        QStringList command = QProcess::splitCommand(environment.value(QLatin1String(variable)));
        if (!command.isEmpty())
            return command << file;
    }
    return {QStringLiteral("xdg-open"), file};
}

bool openInTextEditor(const ProgramLauncher& launch, const QString& file)
{
    QStringList command = textEditorCommand(QProcessEnvironment::systemEnvironment(), file);
    const QString program = command.takeFirst();
    return launch(program, command);
}

bool startDetachedProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}
