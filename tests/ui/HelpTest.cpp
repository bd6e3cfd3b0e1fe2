#include "ui/Help.h"

#include "core/ResultCodes.h"
#include "model/Descriptions.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"
#include "ui/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <set>

namespace {

class HelpTest : public testing::Test {
protected:
    void SetUp() override { app.HelpFolder = app.programFolder + QStringLiteral("/help"); }

    static QList<HelpWindow*> helpWindows()
    {
        QList<HelpWindow*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* help = qobject_cast<HelpWindow*>(widget))
                found << help;
        return found;
    }

    TestFolder world;
    AppCore& app = world.state.core;
    QWidget owner;
};

TEST_F(HelpTest, MessagesWhenNoPageCanBeShown)
{
    const QString missing = QStringLiteral("Erreur lors de l'ouverture du fichier d'aide '")
                            + app.HelpFolder + QStringLiteral("' ou du sujet souhaité !");
    const struct {
        QString folder;
        int32_t topic;
        int32_t result;
        QString text;
        int style;
    } cases[] = {
        {QString(), 2, rc::Ok, QStringLiteral("Aucune aide disponible !"), msg::Information},
        {app.HelpFolder, 999999, rc::Failed, missing, msg::Warning},
        {app.HelpFolder, -1, rc::Failed, missing, msg::Warning},
    };
    for (const auto& c : cases) {
        world.host.messages.clear();
        app.HelpFolder = c.folder;
        EXPECT_EQ(ShowHelp(app, &owner, c.topic), c.result) << c.topic;
        ASSERT_EQ(world.host.messages.size(), 1u);
        EXPECT_EQ(world.host.messages[0].text, c.text);
        EXPECT_EQ(world.host.messages[0].style, c.style);
    }
    EXPECT_TRUE(helpWindows().isEmpty());
}

TEST_F(HelpTest, OneWindowShowsTheTopicsPage)
{
    for (const int32_t topic : {2, 9, 2}) {
        EXPECT_EQ(ShowHelp(app, &owner, topic), rc::Ok);
        ASSERT_EQ(helpWindows().size(), 1);
        HelpWindow* window = helpWindows().front();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->browser()->source().fileName(), QString::number(topic) + ".html");
        EXPECT_FALSE(window->browser()->documentTitle().isEmpty());
    }
    EXPECT_TRUE(world.host.messages.empty());
    // The window has no button to close it: Escape does, from the page it shows.
    QTest::keyClick(helpWindows().front()->browser(), Qt::Key_Escape);
    EXPECT_FALSE(helpWindows().front()->isVisible());
}

// Every topic a window or a shipped description asks for has its page, and every link
// between pages leads to a page.
TEST_F(HelpTest, EveryTopicAndLinkHasItsPage)
{
    std::set<int32_t> topics = {2, 9, 115, 120, 121};
    Descriptions descriptions;
    ASSERT_GT(Desr_LoadAll(app, descriptions), 0);
    for (const auto& description : descriptions)
        for (const XmlNode& node : description->root().selectAll(QStringLiteral(".//Help/TopicID")))
            topics.insert(node.text().trimmed().toInt());
    for (const int32_t topic : topics)
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral("%1/%2.html").arg(app.HelpFolder).arg(topic))) << topic;

    static const QRegularExpression link(QStringLiteral("href=\"([^\":#]+)\""));
    for (const QFileInfo& page : QDir(app.HelpFolder).entryInfoList({QStringLiteral("*.html")})) {
        QFile file(page.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const auto& match : link.globalMatch(text))
            EXPECT_TRUE(QFileInfo::exists(app.HelpFolder + '/' + match.captured(1)))
                << page.fileName().toStdString() << " -> " << match.captured(1).toStdString();
    }
}

}  // namespace
