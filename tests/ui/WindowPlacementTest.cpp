#include "ui/WindowPlacement.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QRect Designed(50, 40, 300, 200);
const QSize Minimum(200, 150);

QString twips(int pixels) { return QString::number(PixelsToTwips(pixels)); }

struct PlacementCase {
    const char* name;
    QString top, left, width, height;  // stored texts; "" stores nothing
    bool minimumApplies;
    QRect expected;  // "Designed" moves and sizes by what is applied
};

void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

const PlacementCase PlacementCases[] = {
    {"nothing stored keeps the design", "", "", "", "", true, Designed},
    {"values are applied", twips(60), twips(70), twips(320), twips(240), true, {70, 60, 320, 240}},
    {"zero and negative values are not applied", "0", "-1500", "0", "-3", true, Designed},
    {"garbage is not applied", "abc", "x12", "", "", true, Designed},
    {"leading number with fraction is rounded", twips(61) + ".6 twips", "", "", "", true,
     {50, 61, 300, 200}},
    {"below the minimum opens at the minimum", "", "", twips(100), twips(20), true,
     {50, 40, 200, 150}},
    {"minimum below 1 sets none", "", "", twips(100), twips(20), false, {50, 40, 100, 20}},
};

class WindowPlacementTest : public testing::TestWithParam<PlacementCase> {
protected:
    void SetUp() override
    {
        AppConf_Create(app);
        window.setObjectName(QStringLiteral("frmTest"));
        window.setGeometry(Designed);
    }
    void store(const char* field, const QString& value)
    {
        if (!value.isEmpty()) {
            ASSERT_EQ(AppConf_SetValue(app, QStringLiteral("GUI/Windows/frmTest/") + field, value), rc::Ok);
        }
    }
    void restore(bool minimumApplies = true)
    {
        const int width = minimumApplies ? int(PixelsToTwips(Minimum.width())) : 0;
        const int height = minimumApplies ? int(PixelsToTwips(Minimum.height())) : 0;
        RestoreWindowPlacement(app, window, width, height);
    }
    QRect placed() const { return QRect(window.pos(), window.size()); }

    TestFolder world;
    AppCore& app = world.state.core;
    QWidget window;
};

TEST_P(WindowPlacementTest, StoredValuesOverTheDesign)
{
    const PlacementCase& c = GetParam();
    store("Top", c.top);
    store("Left", c.left);
    store("Width", c.width);
    store("Height", c.height);
    restore(c.minimumApplies);
    EXPECT_EQ(placed(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowPlacementTest, testing::ValuesIn(PlacementCases));

TEST_F(WindowPlacementTest, SaveThenRestoreGivesTheSameGeometryAlsoOnAFirstStart)
{
    app.SettingsDocument.reset();  // a first start holds no settings yet
    window.setGeometry(120, 90, 410, 330);
    EXPECT_EQ(SaveWindowPlacement(app, window, &world.host), rc::Ok);
    EXPECT_EQ(world.host.statusTexts,
              QStringList({QStringLiteral("Mise à jour du fichier de configuration !"), QString()}));
    EXPECT_EQ(world.host.busyDepth, 0);

    QString width;
    ASSERT_EQ(AppConf_GetValue(app, QStringLiteral("GUI/Windows/frmTest/Width"), width), rc::Ok);
    EXPECT_EQ(width, QString::number(qRound(PixelsToTwips(410))));
    window.setGeometry(Designed);
    restore();
    EXPECT_EQ(placed(), QRect(120, 90, 410, 330));
}

TEST_F(WindowPlacementTest, WindowsOffTheScreenComeBackOntoIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.resize(screen.size() + QSize(100, 100));  // nothing stored yet: a design too large
    restore();
    EXPECT_TRUE(screen.contains(placed()));
    const QString farAway = QStringLiteral("99999999999");
    const QString cases[][4] = {
        {farAway, farAway, twips(300), twips(200)},
        {twips(screen.bottom() - 10), twips(screen.right() - 10), twips(300), twips(200)},
        {twips(10), twips(10), farAway, farAway},
    };
    for (const auto& stored : cases) {
        window.setGeometry(Designed);
        store("Top", stored[0]);
        store("Left", stored[1]);
        store("Width", stored[2]);
        store("Height", stored[3]);
        restore();
        EXPECT_TRUE(screen.contains(placed())) << placed().x() << ',' << placed().y() << ' '
                                               << placed().width() << 'x' << placed().height();
        EXPECT_GE(window.width(), Minimum.width());
    }
    // A minimum larger than the screen gives way; a title bar still fits above the window.
    window.setMinimumSize(screen.size() + QSize(100, 100));
    KeepOnScreen(window);
    EXPECT_TRUE(screen.contains(placed()));
    EXPECT_LT(window.height(), screen.height());
}

TEST_F(WindowPlacementTest, CenteredOnTheScreen)
{
    const QRect screen = window.screen()->geometry();
    CenterWindow(window);
    EXPECT_EQ(window.frameGeometry().center(), screen.center());
}

}  // namespace
