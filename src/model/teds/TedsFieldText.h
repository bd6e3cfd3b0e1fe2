#pragma once
#include "model/teds/TedsLayout.h"

#include <QString>
#include <optional>

struct TedsField;

// A field's value as the editor shows it, in the field's unit (not included), with a
// decimal comma: "350", "2,5", "15/03/2024", "QBN", "Pont complet".
QString tedsValueText(const TedsField& field);
// The field's value as a number in its shown unit (dates: days, texts: the code).
double tedsValue(const TedsField& field);
// The code nearest to the text's value ("," or "." as decimal point); nothing when
// the text is no value the field can hold.
std::optional<uint64_t> tedsCodeOf(const TedsFieldLayout& layout, const QString& text);
// Whether the code is one the field may hold (reserved codes are not).
bool tedsCodeFits(const TedsFieldLayout& layout, uint64_t code);
