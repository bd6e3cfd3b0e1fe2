#pragma once
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

// Starts a program with its arguments without waiting for it; whether it started.
using ProgramLauncher = std::function<bool(const QString& program, const QStringList& arguments)>;

// The command that opens a file in the user's text editor: $VISUAL, else $EDITOR
// (either may carry its own arguments), else xdg-open. The program comes first.
QStringList textEditorCommand(const QProcessEnvironment& environment, const QString& file);
// Opens the file in the user's text editor through the launcher.
bool openInTextEditor(const ProgramLauncher& launch, const QString& file);
// The launcher that really starts the program.
bool startDetachedProgram(const QString& program, const QStringList& arguments);
