#pragma once
#include <QString>

class QCoreApplication;
class QTranslator;

// Qt's own texts (file choosers, standard buttons, edit menus) in the program's language.
// Installs Qt's translation for `language` into `application`, which owns it; returns the
// translator, or nullptr when Qt ships none for that language.
QTranslator* InstallQtTranslations(QCoreApplication& application, const QString& language);
