#include "model/teds/TedsLayout.h"

namespace {

using K = TedsKind;
using A = TedsAccess;

const TedsFieldLayout kBasic[] = {
    // Manufacturer IDs below 17 and above 16381 are reserved by the standard.
    {"ManufacturerID", QStringLiteral("ID du fabricant"), 14, K::UInt, A::Id, {}, 0, 0, 1, {}, 17, 16381},
    {"ModelNumber", QStringLiteral("Numéro de modèle"), 15, K::UInt, A::Id, {}},
    {"VersionLetter", QStringLiteral("Lettre de version"), 5, K::Chr5, A::Id, {}},
    {"VersionNumber", QStringLiteral("Numéro de version"), 6, K::UInt, A::Id, {}},
    {"SerialNumber", QStringLiteral("Numéro de série"), 24, K::UInt, A::Id, {}},
};

const TedsFieldLayout kSelector{"Selector", {}, tedslayout::SelectorBits, K::UInt, A::Id, {}};
const TedsFieldLayout kTemplateId{"TEMPLATE", QStringLiteral("Modèle"), 8, K::UInt, A::Id, {}};
const TedsFieldLayout kEndSelector{"ExtendedEndSelector", {}, 1, K::UInt, A::Id, {}};

// The bridge-sensor template in its "full precision" form (precision code 2): the
// electrical range as two IEEE singles in V/V (shown in mV/V). The physical measurand fixes the unit of the
// physical range when the sensor is made; its table is not decoded, so the code is shown.
const TedsFieldLayout kBridge[] = {
    {"%PhysMeasType", QStringLiteral("Grandeur physique (code)"), 6, K::UInt, A::Fixed, {}},
    {"%MinPhysVal", QStringLiteral("Valeur physique min."), 32, K::Single, A::Cal, {}},
    {"%MaxPhysVal", QStringLiteral("Valeur physique max."), 32, K::Single, A::Cal, {}},
    {tedslayout::ElecPrecisionKey, QStringLiteral("Précision du signal électrique"), 2, K::Enum, A::Fixed, {}, 0, 0, 1,
     {{}, {}, QStringLiteral("Pleine précision")}},
    {"%MinElecVal", QStringLiteral("Signal électrique min."), 32, K::Single, A::Cal, QStringLiteral("mV/V"), 0, 0,
     1000},
    {"%MaxElecVal", QStringLiteral("Signal électrique max."), 32, K::Single, A::Cal, QStringLiteral("mV/V"), 0, 0,
     1000},
    {"%BridgeType", QStringLiteral("Type de pont"), 2, K::Enum, A::Id, {}, 0, 0, 1,
     {QStringLiteral("Quart de pont"), QStringLiteral("Demi-pont"), QStringLiteral("Pont complet")}},
    {"%SensorImped", QStringLiteral("Impédance du pont"), 18, K::ConRes, A::Id, QStringLiteral("Ω"), 1, 0.1},
    {"%RespTime", QStringLiteral("Temps de réponse"), 6, K::ConRelRes, A::Id, QStringLiteral("s"), 1e-6, 0.15},
    {"%ExciteAmplNom", QStringLiteral("Excitation nominale"), 9, K::ConRes, A::Id, QStringLiteral("V"), 0.1, 0.1},
    {"%ExciteAmplMin", QStringLiteral("Excitation min."), 9, K::ConRes, A::Id, QStringLiteral("V"), 0.1, 0.1},
    {"%ExciteAmplMax", QStringLiteral("Excitation max."), 9, K::ConRes, A::Id, QStringLiteral("V"), 0.1, 0.1},
    {"%CalDate", QStringLiteral("Date d'étalonnage"), 16, K::Date, A::Cal, {}},
    {"%CalInitials", QStringLiteral("Initiales de l'étalonneur"), 15, K::Chr5, A::Cal, {}},
    {"%CalPeriod", QStringLiteral("Période d'étalonnage"), 12, K::UInt, A::Cal, QStringLiteral("jours")},
    {"%MeasID", QStringLiteral("Point de mesure"), 11, K::UInt, A::Usr, {}},
};

}  // namespace

std::span<const TedsFieldLayout> BasicTedsLayout()
{
    return kBasic;
}

const TedsFieldLayout& SelectorField()
{
    return kSelector;
}

const TedsFieldLayout& TemplateIdField()
{
    return kTemplateId;
}

const TedsFieldLayout& EndSelectorField()
{
    return kEndSelector;
}

std::span<const TedsFieldLayout> BridgeTemplateLayout()
{
    return kBridge;
}
