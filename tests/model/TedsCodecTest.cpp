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

// The same basic TEDS, selector 0, template 33 and the bridge fields (codes): measurand 2,
// physical range 0.0f and 2.0f (0x40000000), full precision 2, electrical range 0.0f and
// 0.002f V/V (0x3B03126F), full bridge 2, impedance 3490, response time 26, excitation
// 49, 9 and 99, calibration day 9570 (2024-03-15), initials 17 | 2 << 5 | 14 << 10
// ("QBN"), period 365, location 1, selector 3, end 0: 320 bits over two pages. By hand:
// stream bits 64..79 hold selector 0, template 33 and measurand 2 as 0 | 33 << 2 | 2 << 10
// = 0x0884, bytes 84 08; the physical maximum takes stream bytes 14..17 = 00 00 00 40 and
// the precision the low bits of stream byte 18 = 02.
const QByteArray Bridge = bytes({
    0xB9, 0x31, 0x80, 0x34, 0x61, 0x14, 0xEF, 0xCD, 0xAB, 0x84, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x40, 0x02, 0x00, 0x00, 0x00, 0xBC, 0x49, 0x0C, 0xEC, 0x28, 0xDA, 0x80, 0x16, 0x23,
    0xA1, 0xC1, 0x18, 0xB1, 0x92, 0x28, 0x5C, 0x5B, 0x04, 0x60, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});

// The image with one byte changed and its page's checksum set again.
QByteArray patched(QByteArray image, int index, uint8_t value)
{
    const int checksum = index / 32 * 32;
    image[checksum] = char(uint8_t(image.at(checksum)) + uint8_t(image.at(index)) - value);
    image[index] = char(value);
    return image;
}

// A half-bridge sensor's memory as a DAQ maker's SDK documentation prints it (both pages,
// checksums included), with the values that documentation decodes it to: a blank version
// letter, 40 Ω, 1 µs, 2.5 / 1 / 6 V and calibration day 37254.
const QByteArray MakerSample = QByteArray::fromHex(
    "801F40620000000000841C000000000000000002000000000000006418008021"
    "46C10EC34800000000E000000000000000000000000000000000000000000000");

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
        // Stream bits 29..33 hold the version letter: 0, a blank, as sensors leave it unused.
        {"blank version letter", patched(BasicOnly, 4, 0x01),
         QStringList(basic).replaceInStrings("Lettre de version = C", "Lettre de version = ")},
        {"bridge template", Bridge,
         basic + QStringList{"Modèle = 33", "Grandeur physique (code) = 2", "Valeur physique min. = 0",
                             "Valeur physique max. = 2", "Précision du signal électrique = Pleine précision",
                             "Signal électrique min. = 0 mV/V", "Signal électrique max. = 2 mV/V",
                             "Type de pont = Pont complet", "Impédance du pont = 350 Ω",
                             "Temps de réponse = 0,00092 s", "Excitation nominale = 5 V", "Excitation min. = 1 V",
                             "Excitation max. = 10 V", "Date d'étalonnage = 15/03/2024",
                             "Initiales de l'étalonneur = QBN", "Période d'étalonnage = 365 jours",
                             "Point de mesure = 1"}},
        {"maker's sample", MakerSample,
         {"ID du fabricant = 31", "Numéro de modèle = 393", "Lettre de version = ", "Numéro de version = 0",
          "Numéro de série = 0", "Modèle = 33", "Grandeur physique (code) = 7", "Valeur physique min. = 0",
          "Valeur physique max. = 0", "Précision du signal électrique = Pleine précision",
          "Signal électrique min. = 0 mV/V", "Signal électrique max. = 0 mV/V", "Type de pont = Demi-pont",
          "Impédance du pont = 40 Ω", "Temps de réponse = 1E-06 s", "Excitation nominale = 2,5 V",
          "Excitation min. = 1 V", "Excitation max. = 6 V", "Date d'étalonnage = 31/12/2099",
          "Initiales de l'étalonneur = ", "Période d'étalonnage = 0 jours", "Point de mesure = 0"}},
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
    for (const QString& line : cases[2].fields)
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
    // MeasID sits at stream bits 306..316: stream bytes 38 and 39 = page 2 bytes 7 and 8.
    QByteArray expected = Bridge + QByteArray(32, '\x5A');
    expected[40] = char(0xFC);
    expected[41] = char(0x7F);
    expected[32] = char(0x100 - ((0xC1 + 0x18 + 0xB1 + 0x92 + 0x28 + 0x5C + 0x5B + 0xFC + 0x7F) & 0xFF));
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
    const struct {
        QByteArray image;
        QString message;
    } cases[] = {
        {{}, "Le bloc TEDS est vide."},
        {BasicOnly.left(31), "Longueur du bloc TEDS incorrecte : 31 octets au lieu d'un multiple de 32."},
        {Bridge.left(40), "Longueur du bloc TEDS incorrecte : 40 octets au lieu d'un multiple de 32."},
        {Bridge.left(32), "Le bloc TEDS est trop court : 32 octets au lieu de 64."},
        {badFirstPage, "Somme de contrôle erronée dans la page 1 : 0xB9 au lieu de 0xB8."},
        {badSecondPage, "Somme de contrôle erronée dans la page 2 : 0xA1 au lieu de 0xA4."},
        {QByteArray(32, '\0'), "TEDS de base non valable : ID du fabricant, code 0 hors plage."},
        {reserved, "TEDS de base non valable : ID du fabricant, code 16 hors plage."},
        {QByteArray(64, '\xFF'), "Somme de contrôle erronée dans la page 1 : 0xFF au lieu de 0x1F."},
    };
    for (const auto& c : cases) {
        const TedsReading reading = decodeTeds(c.image);
        EXPECT_FALSE(reading.content) << c.image.toHex().toStdString();
        EXPECT_EQ(reading.message, c.message);
    }
}

TEST(TedsCodec, AnUndecodedSectionShowsWhatCameBeforeAndKeepsItsBytes)
{
    const struct {
        const char* what;
        QByteArray image;
        QString message;
        int shownFields;
    } cases[] = {
        // Template 36: stream byte 8 holds selector 0 and the ID's low six bits, 36 << 2.
        {"template 36", patched(Bridge, 9, 0x90), "Modèle 36 non décodé : seule la TEDS de base est affichée.", 6},
        // Electrical precision 0: stream bits 144..145, the low bits of stream byte 18.
        {"precision 0", patched(Bridge, 19, 0x00),
         "Précision du signal électrique (code 0) non décodée : la suite du modèle 33 n'est pas affichée.", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TedsReading reading = decodeTeds(c.image);
        ASSERT_TRUE(reading.content);
        EXPECT_EQ(reading.message, c.message);
        EXPECT_EQ(shown(*reading.content).size(), c.shownFields);
        EXPECT_EQ(encodeTeds(*reading.content, c.image), c.image);
    }
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
        {"%MaxElecVal", "2,5", 0x3B23D70A},   {"%MaxElecVal", " -100 ", 0xBDCCCCCD},
        {"%MaxElecVal", "2 mV/V", std::nullopt},
        {"%ExciteAmplNom", "51.2", 511},      {"%ExciteAmplNom", "51.3", std::nullopt},
        {"%SensorImped", "350", 3490},        {"%SensorImped", "26215,3", 262143},
        {"%SensorImped", "26215.4", std::nullopt}, {"%SensorImped", "0,9", std::nullopt},
        {"%MaxPhysVal", "-1.5", 0xBFC00000},  {"%MaxPhysVal", "1e39", std::nullopt},
        {"%BridgeType", "Demi-pont", 1},      {"%BridgeType", "3", 3},
        {"%BridgeType", "pont", std::nullopt}, {"%CalDate", "2024-03-15", 9570},
        {"%CalDate", "01.01.1998", 0},        {"%CalDate", "31/12/1997", std::nullopt},
        {"%CalDate", "30/02/2024", std::nullopt}, {"%CalInitials", "qbn", 14417},
        {"%CalInitials", "QB", 81},           {"%CalInitials", "QBNX", std::nullopt},
        {"VersionLetter", "", 0},             {"%CalPeriod", "4096", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tedsCodeOf(layout(c.key), c.text), c.code) << c.key << " " << c.text.toStdString();
}

}  // namespace
