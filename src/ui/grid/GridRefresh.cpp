// Reading the grid's values: one row, all rows, the periodic rows.
#include "ui/grid/GridModel.h"

#include "core/Host.h"
#include "device/DeviceContext.h"
#include "device/present/ParameterRows.h"
#include "device/present/ParameterText.h"
#include "model/Configuration.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"

namespace {

bool isEnumeration(ParameterKind kind)
{
    return kind == ParameterKind::EnumString || kind == ParameterKind::EnumFloat;
}

// The message for an enumeration value that has no item.
QString notAdmitted(ParameterKind kind, const QString& stored, const QString& path)
{
    const QString tail = QStringLiteral(" non est admise pour '") + path + QStringLiteral("' le type d'énumération !");
    if (kind == ParameterKind::EnumFloat)
        return QStringLiteral("Valeur '") + stored + '\'' + tail;
    const auto code = roundTo<int64_t>(leadingNumber(stored));
    return QStringLiteral("La valeur") + QString::number(code) + QStringLiteral(" (0x") +
           QString::number(uint32_t(code), 16).toUpper() + ')' + tail;
}

}  // namespace

const Description* GridModel::description() const
{
    const int32_t current = state_.CurrentDevice;
    if (current < 1 || current > state_.DeviceCount)
        return nullptr;
    return Descr_OfDevice(state_.descriptions, state_.Devices[size_t(current)]);
}

XmlNode GridModel::member(int row) const
{
    XmlNode node;
    if (row < 0 || row >= rowCountAll() || Descr_FindNode(rows_[size_t(row)].path, description(), node) < 0)
        return {};
    return node;
}

bool GridModel::canRefresh() const
{
    const int32_t current = state_.CurrentDevice;
    return state_.Configuration && current >= 1 && current <= state_.DeviceCount &&
           state_.Devices[size_t(current)].Online;
}

std::optional<DeviceContext> GridModel::device() const
{
    if (!canRefresh())
        return std::nullopt;
    return DeviceContext{state_, state_.CurrentInterface, state_.Devices[size_t(state_.CurrentDevice)],
                         Conf_Parameters(state_.Configuration.get())};
}

void GridModel::refreshRow(int index)
{
    const BusyScope refreshing(*this);
    const XmlNode m = member(index);
    std::optional<DeviceContext> d = device();
    // Buttons (bit masks too) show no value; write-only rows are never read.
    const GridRow& shown = rows_[size_t(index)];
    if (!m || !d || !hasValue(m) || shown.writeOnly || shown.cell == GridCell::Button)
        return;
    const ParameterRow read = parameterRow(*d, m, rows_[size_t(index)].path);
    GridRow& row = rows_[size_t(index)];
    row.status = read.status;
    row.statusText = read.statusText;
    if (read.status == 0 && isEnumeration(row.kind) && !enumItem(m, roundTo<int64_t>(leadingNumber(read.stored))))
        ShowMessage(*state_.core.host, notAdmitted(row.kind, read.stored, row.path), msg::Ok);
    else {
        row.value = read.value;
        row.checked = textToBool(read.stored);
    }
    emit dataChanged(cell(index, gridcol::NestedMark), cell(index, gridcol::Value));
}

void GridModel::refreshAll()
{
    const BusyScope refreshing(*this);
    for (int row = 0; row < rowCountAll(); ++row)
        refreshRow(row);
}

void GridModel::refreshPeriodic()
{
    const BusyScope refreshing(*this);
    for (int row : periodic_)
        refreshRow(row);
}

QStringList GridModel::periodicPaths() const
{
    QStringList paths;
    for (int row : periodic_)
        paths << rows_[size_t(row)].path;
    return paths;
}
