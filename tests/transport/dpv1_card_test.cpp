// The card and station connections, the error and master type texts.
#include "fieldbus_fixture.h"

using namespace dpv1test;

namespace {

// The ends of the card's range of codes, and the codes outside it.
TEST(Dpv1Texts, ErrorTextsExactly)
{
    const std::pair<int32_t, const char*> cases[] = {
        {-101, "Ce paramètre peut être lu uniquement !"},
        {-8, "Référence de communication incorrecte (communication perturbée )"},
        {-16011, "Slave not ready"},
        {-16001, "Type non valide"},
        {-16000, "Erreur inconnue -16000"},
        {-16012, "Erreur inconnue -16012"},
        {-103, "Erreur inconnue -103"},
        {0, "Erreur inconnue 0"},
        {7, "Erreur inconnue 7"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(DPV1_ErrorText(code), QString::fromUtf8(text)) << code;
}

TEST(Dpv1Texts, MasterTypeTexts)
{
    EXPECT_EQ(DPV1_MasterTypeText(2), "Maître PROFIBUS SIEMENS");
    EXPECT_EQ(DPV1_MasterTypeText(10), "Maître PROFIBUS Hilscher ");
    for (int32_t other : {0, 1, 3, 11, -2})
        EXPECT_EQ(DPV1_MasterTypeText(other), "") << other;
}

TEST_F(Dpv1Test, OpeningACardThatCannotBeOpenedShowsWhy)
{
    const struct {
        const char* what;
        std::function<void()> prepare;
        int16_t type;
        int16_t devno;
        int32_t result;
        const char* message;
    } cases[] = {
        {"board not available", [&] { library->master.injectFault(ProfibusCall::Init, rc::ProfibusBoardNotAvailable); },
         10, 0, -16003, "Erreur-16003 lors de la connexion avec la carte PROFIBUS : 'Board not available'"},
        {"unknown master type", [&] { library->master.injectFault(ProfibusCall::Init, rc::Ok); }, 5, 0, -16001,
         "Erreur-16001 lors de la connexion avec la carte PROFIBUS : 'Type non valide'"},
        {"card number", [] {}, 2, 5, -16004,
         "Erreur-16004 lors de la connexion avec la carte PROFIBUS : 'Invalid board number'"},
        {"no library", [&] { world.state.buses.profibus.reset(); }, 10, 0, -16002,
         "Erreur-16002 lors de la connexion avec la carte PROFIBUS : 'Pilote (PROFIBUS DPV1 classe 2) non "
         "disponible'"},
    };
    for (const auto& c : cases) {
        c.prepare();
        world.host.messages.clear();
        settings.PType = c.type;
        settings.Devno = c.devno;
        settings.Connected = true;
        EXPECT_EQ(DPV1_OpenCard(world.state, settings), c.result) << c.what;
        EXPECT_FALSE(settings.Connected) << c.what;
        ASSERT_EQ(world.host.messages.size(), 1u) << c.what;
        EXPECT_EQ(world.host.messages[0].text, QString::fromUtf8(c.message)) << c.what;
        EXPECT_EQ(world.host.messages[0].style, msg::Warning) << c.what;
    }
}

TEST_F(Dpv1Test, CardsOpenAndCloseWithTheirStations)
{
    for (const int16_t type : {profibus::SiemensMaster, profibus::HilscherMaster}) {
        settings.PType = type;
        settings.Devno = 4;
        EXPECT_EQ(DPV1_OpenCard(world.state, settings), rc::Ok);
        EXPECT_TRUE(settings.Connected);
        EXPECT_TRUE(library->master.isCardOpen(DPV1_Card(settings)));
        EXPECT_TRUE(library->calls.back().diagZeroed);
        EXPECT_EQ(DPV1_ConnectStation(world.state, settings, 42), rc::Ok);
        DPV1_CloseCard(world.state, settings);
        EXPECT_FALSE(library->master.isCardOpen(DPV1_Card(settings)));
        EXPECT_FALSE(library->master.isConnected(DPV1_Card(settings), 42));
        EXPECT_EQ(library->calls.back().name, "Close");
        EXPECT_EQ(library->calls.back().card.devno, 4);
    }
    EXPECT_TRUE(world.host.messages.empty());
}

TEST_F(Dpv1Test, ConnectingAStationFailsWithTheLibrarysCode)
{
    ASSERT_EQ(DPV1_OpenCard(world.state, settings), rc::Ok);
    const struct {
        const char* what;
        uint8_t station;
        std::function<void()> prepare;
        int32_t result;
    } failures[] = {
        {"nobody at the address", 5, [] {}, rc::ProfibusTimeout},
        {"silent amplifier", 3, [&] { rack.node(3)->setSilent(true); }, rc::ProfibusTimeout},
        {"injected", 42, [&] { library->master.injectFault(ProfibusCall::Connect, rc::ProfibusSlaveNotReady); },
         rc::ProfibusSlaveNotReady},
        {"card closed", 42,
         [&] {
             library->master.injectFault(ProfibusCall::Connect, rc::Ok);
             DPV1_CloseCard(world.state, settings);
         },
         rc::ProfibusNoCommunication},
        {"no library", 42, [&] { world.state.buses.profibus.reset(); }, rc::ProfibusDriverUnavailable},
    };
    for (const auto& f : failures) {
        f.prepare();
        EXPECT_EQ(DPV1_ConnectStation(world.state, settings, f.station), f.result) << f.what;
    }
}

}  // namespace
