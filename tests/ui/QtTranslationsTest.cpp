#include "ui/QtTranslations.h"

#include "support/QStringPrint.h"

#include <QApplication>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// Qt's texts a technician meets in the file choosers and standard buttons.
TEST(QtTranslations, QtOwnTextsFollowTheProgramLanguage)
{
    struct Case {
        const char* context;
        const char* source;
        QString french;
    };
    const Case cases[] = {
        {"QFileDialog", "Look in:", QStringLiteral("Voir dans :")},
        {"QFileDialog", "File &name:", QStringLiteral("&Nom de fichier :")},
        {"QPlatformTheme", "Cancel", QStringLiteral("Annuler")},
    };
    std::unique_ptr<QTranslator> french(InstallQtTranslations(*qApp, QStringLiteral("fr")));
    ASSERT_NE(french, nullptr);
    for (const Case& c : cases)
        EXPECT_EQ(QCoreApplication::translate(c.context, c.source), c.french) << c.source;
    french.reset();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(InstallQtTranslations(*qApp, QStringLiteral("xx")), nullptr);
}

}  // namespace
