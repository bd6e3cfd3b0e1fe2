#pragma once
#include "transport/AppState.h"
#include "support/ScriptedHost.h"

#include <QString>
#include <QTemporaryDir>

// A temporary world for one test: APPDATA and USERPROFILE point into a fresh folder,
// and an application state is wired to a scripted host and a program folder that
// holds the shipped data (or a folder of the test's making).
class TestFolder {
public:
    TestFolder();
    ~TestFolder();

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // Writes text to a file below the folder (creating folders) and returns its path.
    QString write(const QString& name, const QByteArray& text) const;

    // The build's program folder with the shipped data.
    static QString shippedProgramFolder();

    ScriptedHost host;
    AppState state;

private:
    QTemporaryDir dir_;
    QByteArray oldAppData_;
    QByteArray oldUserProfile_;
};
