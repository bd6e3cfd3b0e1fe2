// The grid's rows as a Qt item model: the tree, the cells' texts, pictures and styles.
#include "ui/grid/GridModel.h"

#include "transport/AppState.h"
#include "ui/Icons.h"

#include <QColor>
#include <QFont>

namespace {

const QColor White(0xFF, 0xFF, 0xFF);
const QColor WindowColour(0xF0, 0xF0, 0xF0);
const QColor DisplayGreen(0x00, 0xFF, 0x00);
const QChar MaskCharacter(0x25CF);

QFont displayFont()
{
    QFont font(QStringLiteral("Tahoma"), 12);
    font.setBold(true);
    return font;
}

bool isValueCell(GridCell cell) { return cell == GridCell::Edit || cell == GridCell::List || cell == GridCell::Text; }

}  // namespace

GridModel::GridModel(AppState& state, QObject* parent) : QAbstractItemModel(parent), state_(state) {}

const std::vector<int>& GridModel::siblings(int parent) const
{
    return parent < 0 ? top_ : rows_[size_t(parent)].children;
}

QModelIndex GridModel::cell(int row, int column) const
{
    if (row < 0 || row >= rowCountAll())
        return {};
    return createIndex(rows_[size_t(row)].position, column, quintptr(row));
}

QModelIndex GridModel::index(int row, int column, const QModelIndex& parent) const
{
    const std::vector<int>& list = siblings(rowIndex(parent));
    if (row < 0 || size_t(row) >= list.size() || column < 0 || column >= gridcol::Count)
        return {};
    return createIndex(row, column, quintptr(list[size_t(row)]));
}

QModelIndex GridModel::parent(const QModelIndex& child) const
{
    const int row = rowIndex(child);
    return row < 0 ? QModelIndex() : cell(rows_[size_t(row)].parent, 0);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return int(siblings(rowIndex(parent)).size());
}

int GridModel::columnCount(const QModelIndex&) const { return gridcol::Count; }

void GridModel::setExpanded(int row, bool expanded)
{
    if (row < 0 || row >= rowCountAll() || rows_[size_t(row)].expanded == expanded)
        return;
    rows_[size_t(row)].expanded = expanded;
    emit dataChanged(cell(row, gridcol::Mark), cell(row, gridcol::NestedMark), {Qt::DecorationRole});
}

QVariant GridModel::markData(const GridRow& row, int column, int role) const
{
    if (row.kind == ParameterKind::Group) {
        const int markColumn = row.level == 1 ? gridcol::Mark : gridcol::NestedMark;
        if (column == markColumn && role == Qt::DecorationRole)
            return Icon(row.expanded ? QStringLiteral("IMG_MINUS") : QStringLiteral("IMG_PLUS"));
    } else if (column == gridcol::NestedMark) {
        if (role == Qt::DecorationRole && row.status < 0)
            return Icon(QStringLiteral("IMG_ERROR"));
        if (role == Qt::ToolTipRole && row.status != 0)
            return row.statusText;
    }
    return role == Qt::ToolTipRole && !row.help.isEmpty() ? QVariant(row.help) : QVariant();
}

QVariant GridModel::valueData(const GridRow& row, int role) const
{
    const bool value = isValueCell(row.cell);
    switch (role) {
    case Qt::DisplayRole:
        if (row.cell == GridCell::Button)
            return row.caption;
        if (!value)
            return {};
        return row.secret ? QString(row.value.size(), MaskCharacter) : row.value;
    case Qt::EditRole:
        return value ? QVariant(row.value) : QVariant();
    case Qt::DecorationRole:
        if (row.cell == GridCell::Check)
            return row.checked ? row.iconOn : row.iconOff;
        return row.cell == GridCell::Button ? QVariant(row.icon) : QVariant();
    case Qt::ToolTipRole:
        return row.help.isEmpty() ? QVariant() : QVariant(row.help);
    case Qt::BackgroundRole:
        if (!value)
            return {};
        return !row.readOnly ? White : row.persistent ? WindowColour : QColor(Qt::black);
    case Qt::ForegroundRole:
        if (!value)
            return {};
        return row.readOnly && !row.persistent ? DisplayGreen : QColor(Qt::black);
    case Qt::FontRole:
        return value && row.readOnly && !row.persistent ? QVariant(displayFont()) : QVariant();
    default:
        return {};
    }
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    const int r = rowIndex(index);
    if (r < 0 || r >= rowCountAll())
        return {};
    const GridRow& row = rows_[size_t(r)];
    switch (role) {
    case PathRole:
        return row.path;
    case CellRole:
        return int(row.cell);
    case EntriesRole:
        return row.entries;
    case LevelRole:
        return row.level;
    case SecretRole:
        return row.secret;
    default:
        break;
    }
    switch (index.column()) {
    case gridcol::Text:
        if (role == Qt::DisplayRole)
            return row.text;
        return role == Qt::ToolTipRole && !row.help.isEmpty() ? QVariant(row.help) : QVariant();
    case gridcol::Value:
        return valueData(row, role);
    default:
        return markData(row, index.column(), role);
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int row = rowIndex(index);
    if (busy_ || role != Qt::EditRole || index.column() != gridcol::Value || !(flags(index) & Qt::ItemIsEditable))
        return false;
    emit valueEntered(rows_[size_t(row)].path, value.toString());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    const int row = rowIndex(index);
    if (row < 0 || row >= rowCountAll())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const GridCell cell = rows_[size_t(row)].cell;
    if (index.column() == gridcol::Value && (cell == GridCell::Edit || cell == GridCell::List))
        flags |= Qt::ItemIsEditable;
    return flags;
}
