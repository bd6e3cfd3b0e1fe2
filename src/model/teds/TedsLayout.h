#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>

// The IEEE 1451.4 TEDS content this program decodes, as one table of bit fields per
// section. The data stream (see TedsMemory.h) holds, least significant bit first:
//
//   basic TEDS      manufacturer ID 14, model number 15, version letter 5 (chr5),
//                   version number 6, serial number 24 bits;
//   selector        2 bits: 0 = a standard template follows, 3 = no template;
//   template ID     8 bits (only after selector 0);
//   template 33     bridge sensor, the fields of BridgeTemplateLayout() in order; the
//                   electrical-precision selection splits it, and only its "full
//                   precision" case (code 2) is decoded;
//   end             selector 3, then the 1-bit end selector 0 (no user data).
//
// Values: a field holds its raw code; the kinds below turn it into a value:
//   ConRes(a, b)    a + b * code;
//   ConRelRes(a, b) a * (1 + 2b) ^ code;
//   Single          the code's bits are an IEEE single;
//   Date            days since 1998-01-01;
//   Chr5            5 bits per character, code + 0x40 ('A' = 1), 0 a blank.
enum class TedsKind { UInt, Chr5, Single, ConRes, ConRelRes, Date, Enum };

// Who may change a field: identification (ID), calibration (CAL) or the user (USR).
// Fixed fields choose the template's form when the sensor is made (what follows
// depends on them), so the editor never changes them.
enum class TedsAccess { Fixed, Id, Cal, Usr };

struct TedsFieldLayout {
    const char* key;     // the standard's property name
    QString label;       // empty: a structural field the editor does not show
    int bits;
    TedsKind kind;
    TedsAccess access;
    QString unit;        // the shown unit; the value is shown times `scale`
    double a = 0;        // ConRes / ConRelRes start value
    double b = 0;        // ConRes step, ConRelRes tolerance
    double scale = 1;
    QStringList names{};  // Enum texts by code; a code without a text shows as its number
    uint64_t min = 0;    // the codes a field may hold (max 0: all its bits can carry)
    uint64_t max = 0;
};

namespace tedslayout {
constexpr int BasicBytes = 8;  // the basic TEDS, 64 bits
constexpr int SelectorBits = 2;
constexpr uint64_t StandardTemplate = 0;
constexpr uint64_t NoTemplate = 3;
constexpr uint64_t BridgeTemplateId = 33;
constexpr const char* ElecPrecisionKey = "%ElecPrecision";
constexpr uint64_t FullPrecision = 2;
}  // namespace tedslayout

std::span<const TedsFieldLayout> BasicTedsLayout();
const TedsFieldLayout& SelectorField();
const TedsFieldLayout& TemplateIdField();
const TedsFieldLayout& EndSelectorField();
// Template 33, bridge sensor.
std::span<const TedsFieldLayout> BridgeTemplateLayout();
