// The TEDS codec: memory pages and checksums, the basic TEDS and the bridge template.
#include "model/teds/TedsCodec.h"
#include "model/teds/TedsFieldText.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

namespace {

// Basic TEDS only: manufacturer 49, model 1234, version C5, serial 0xABCDEF, packed LSB
// first as 49 | 1234 << 14 | 3 << 29 | 5 << 34 | 0xABCDEF << 40 = bytes 31 80 34 61 14
// EF CD AB; then selector 3 and end selector 0: byte 03. The data bytes add up to 964 =
// 0xC4 mod 256, so the page's checksum byte is 0x100 - 0xC4 = 0x3C.
const QByteArray BasicOnly =
    bytes({0x3C, 0x31, 0x80, 0x34, 0x61, 0x14, 0xEF, 0xCD, 0xAB, 0x03}) + QByteArray(22, '\0');

// The same basic TEDS, selector 0, template 33 and the bridge fields (codes): physical
// range 0.0f and 2.0f, electrical 32000 and 32640, full bridge 2, impedance 29293,
// response time 26, excitation 49, 9 and 99, calibration day 9570 (2024-03-15),
// initials 17 | 2 << 5 | 14 << 10 ("QBN"), period 365, location 1, selector 3, end 0:
// 280 bits over two pages.
const QByteArray Bridge = bytes({
    0xC4, 0x31, 0x80, 0x34, 0x61, 0x14, 0xEF, 0xCD, 0xAB, 0x84, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x01, 0xF4, 0x01, 0xFE, 0xD9, 0x26, 0x87, 0x16, 0x23, 0xC1, 0x18, 0xB1, 0x92, 0x28,
    0xE5, 0x5C, 0x5B, 0x04, 0x60, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});

QStringList shown(const TedsContent& content)
{
    QStringList lines;
    for (const TedsField& field : content.fields)
        if (!field.layout->label.isEmpty())
            lines << field.layout->label + " = " + tedsValueText(field) + (field.layout->unit.isEmpty() ? "" : " ") +
                         field.layout->unit;
    return lines;
}

TEST(TedsCodec, KnownImagesDecodeToTheirFieldsAndEncodeBackByteForByte)
{
    const QStringList basic = {"ID du fabricant = 49", "Numéro de modèle = 1234", "Lettre de version = C",
                               "Numéro de version = 5", "Numéro de série = 11259375"};
    const struct {
        const char* what;
        QByteArray image;
        QStringList fields;
    } cases[] = {
        {"basic TEDS only", BasicOnly, basic},
        {"bridge template", Bridge,
         basic + QStringList{"Modèle = 33", "Valeur physique min. = 0", "Valeur physique max. = 2",
                             "Signal électrique min. = 0 mV/V", "Signal électrique max. = 2 mV/V",
                             "Type de pont = Pont complet", "Impédance du pont = 350 Ω",
                             "Temps de réponse = 0,00092 s", "Excitation nominale = 5 V", "Excitation min. = 1 V",
                             "Excitation max. = 10 V", "Date d'étalonnage = 15/03/2024",
                             "Initiales de l'étalonneur = QBN", "Période d'étalonnage = 365 jours",
                             "Point de mesure = 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TedsReading reading = decodeTeds(c.image);
        ASSERT_TRUE(reading.content) << reading.message.toStdString();
        EXPECT_EQ(reading.message, "");
        EXPECT_EQ(shown(*reading.content), c.fields);
        EXPECT_EQ(encodeTeds(*reading.content), c.image);
        EXPECT_EQ(encodeTeds(*reading.content, c.image), c.image);
    }
    // Built from the expected texts, the bridge content gives the same image.
    TedsContent built = bridgeSensorContent();
    for (const QString& line : cases[1].fields)
        for (TedsField& field : built.fields)
            if (line.startsWith(field.layout->label + " = "))
                field.raw = tedsCodeOf(*field.layout, line.section(" = ", 1).chopped(field.layout->unit.size()))
                                .value_or(~0ull);
    EXPECT_EQ(encodeTeds(built).toHex(' '), Bridge.toHex(' '));
}

TEST(TedsCodec, EditingAFieldKeepsTheRestAndSetsTheChecksums)
{
    TedsContent content = *decodeTeds(Bridge).content;
    ASSERT_TRUE(content.set("%MeasID", "2047"));
    const QByteArray edited = encodeTeds(content, Bridge + QByteArray(32, '\x5A'));
    ASSERT_EQ(edited.size(), 96);
    // MeasID sits at stream bits 266..276: stream byte 33 and 34 = page 2 bytes 3 and 4.
    QByteArray expected = Bridge + QByteArray(32, '\x5A');
    expected[35] = char(0xFC);
    expected[36] = char(0x7F);
    expected[32] = char(0x100 - ((0x5C + 0x5B + 0xFC + 0x7F) & 0xFF));
    EXPECT_EQ(edited.toHex(' '), expected.toHex(' '));
    EXPECT_EQ(tedsValueText(*decodeTeds(edited).content->find("%MeasID")), "2047");
}

TEST(TedsCodec, RefusesEmptyShortAndCorruptImagesWithAMessage)
{
    QByteArray badFirstPage = Bridge;
    badFirstPage[5] = char(0x15);
    QByteArray badSecondPage = Bridge;
    badSecondPage[40] = char(0x01);
    QByteArray reserved = BasicOnly;  // manufacturer 16
    reserved[1] = char(0x10);
    reserved[0] = char(0x3C + 0x21);
    QByteArray noLetter = BasicOnly;  // version letter code 0
    noLetter[4] = char(0x01);
    noLetter[0] = char(0x3C + 0x60);
    const struct {
        QByteArray image;
        QString message;
    } cases[] = {
        {{}, "Le bloc TEDS est vide."},
        {BasicOnly.left(31), "Longueur du bloc TEDS incorrecte : 31 octets au lieu d'un multiple de 32."},
        {Bridge.left(40), "Longueur du bloc TEDS incorrecte : 40 octets au lieu d'un multiple de 32."},
        {Bridge.left(32), "Le bloc TEDS est trop court : 32 octets au lieu de 64."},
        {badFirstPage, "Somme de contrôle erronée dans la page 1 : 0xC4 au lieu de 0xC3."},
        {badSecondPage, "Somme de contrôle erronée dans la page 2 : 0xE5 au lieu de 0xE4."},
        {QByteArray(32, '\0'), "TEDS de base non valable : ID du fabricant, code 0 hors plage."},
        {reserved, "TEDS de base non valable : ID du fabricant, code 16 hors plage."},
        {noLetter, "TEDS de base non valable : Lettre de version, code 0 hors plage."},
        {QByteArray(64, '\xFF'), "Somme de contrôle erronée dans la page 1 : 0xFF au lieu de 0x1F."},
    };
    for (const auto& c : cases) {
        const TedsReading reading = decodeTeds(c.image);
        EXPECT_FALSE(reading.content) << c.image.toHex().toStdString();
        EXPECT_EQ(reading.message, c.message);
    }
}

TEST(TedsCodec, AnUnknownTemplateShowsTheBasicTedsAndKeepsItsBytes)
{
    // Template 36 instead of 33: the ID's bits 66..73 hold 36, the checksum follows.
    QByteArray other = Bridge;
    other[9] = char(0x90);
    other[10] = char(0x00);
    other[0] = char(0xC4 - 0x0C);
    const TedsReading reading = decodeTeds(other);
    ASSERT_TRUE(reading.content);
    EXPECT_EQ(reading.message, "Modèle 36 non décodé : seule la TEDS de base est affichée.");
    EXPECT_EQ(shown(*reading.content).size(), 6);
    EXPECT_EQ(encodeTeds(*reading.content, other), other);
}

TEST(TedsFieldText, EnteredTextsBecomeTheNearestCodeOrAreRefused)
{
    const auto layout = [](const char* key) -> const TedsFieldLayout& { return *bridgeSensorContent().find(key)->layout; };
    const struct {
        const char* key;
        QString text;
        std::optional<uint64_t> code;
    } cases[] = {
        {"ManufacturerID", "17", 17},         {"ManufacturerID", "16", std::nullopt},
        {"ManufacturerID", "16382", std::nullopt}, {"ManufacturerID", "1.5", std::nullopt},
        {"VersionLetter", "a", 1},            {"VersionLetter", "@", std::nullopt},
        {"SerialNumber", "16777215", 0xFFFFFF}, {"SerialNumber", "16777216", std::nullopt},
        {"%MaxElecVal", "2,5", 32800},        {"%MaxElecVal", " -100 ", 0},
        {"%MaxElecVal", "105", std::nullopt}, {"%MaxElecVal", "2 mV/V", std::nullopt},
        {"%ExciteAmplNom", "51.2", 511},      {"%ExciteAmplNom", "51.3", std::nullopt},
        {"%SensorImped", "1", 0},             {"%SensorImped", "0", std::nullopt},
        {"%MaxPhysVal", "-1.5", 0xBFC00000},  {"%MaxPhysVal", "1e39", std::nullopt},
        {"%BridgeType", "Demi-pont", 1},      {"%BridgeType", "3", 3},
        {"%BridgeType", "pont", std::nullopt}, {"%CalDate", "2024-03-15", 9570},
        {"%CalDate", "01.01.1998", 0},        {"%CalDate", "31/12/1997", std::nullopt},
        {"%CalDate", "30/02/2024", std::nullopt}, {"%CalInitials", "qbn", 14417},
        {"%CalInitials", "QB", std::nullopt}, {"%CalPeriod", "4096", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tedsCodeOf(layout(c.key), c.text), c.code) << c.key << " " << c.text.toStdString();
}

}  // namespace
