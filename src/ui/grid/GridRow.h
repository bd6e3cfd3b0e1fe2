#pragma once
#include "model/ParameterKind.h"

#include <QIcon>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The columns of the parameter grid.
namespace gridcol {
constexpr int Mark = 0;         // expand mark of a top-level group
constexpr int NestedMark = 1;   // expand mark of a nested group; status mark of a parameter
constexpr int Text = 2;         // display text
constexpr int Value = 3;        // value cell or button
constexpr int Count = 4;
}  // namespace gridcol

// What the value column of a row holds.
enum class GridCell {
    None,     // a group without button
    Edit,     // an edit cell
    List,     // a drop-down list of the enumeration's entries
    Text,     // read-only text (a read-only or one-item enumeration, a read-only value)
    Check,    // a switch drawn with its two pictures
    Button,   // an action, a bit mask's or a group's "Détails..." button
};

// One row of the grid: a group or a parameter, found by its path.
struct GridRow {
    QString path;
    QString kindName;            // the member's element name
    ParameterKind kind = ParameterKind::Unknown;
    QString text;                // display text
    QString help;                // help text for the tool tip
    int32_t helpTopic = -1;
    int level = 1;               // 1 for the members of the root group
    int parent = -1;             // index of the enclosing group's row, -1 at top level
    int position = 0;            // among the rows of that group
    std::vector<int> children;
    bool expanded = true;

    GridCell cell = GridCell::None;
    bool readOnly = false;
    bool writeOnly = false;
    bool persistent = false;
    bool secret = false;
    bool periodic = false;
    QStringList entries;         // drop-down list entries, in document order
    QString caption;             // button caption
    QIcon icon;                  // button picture
    QIcon iconOn, iconOff;       // switch pictures

    QString value;               // as shown, unit included
    bool checked = false;
    int32_t status = 0;          // result of the last read
    QString statusText;
};
