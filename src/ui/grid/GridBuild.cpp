// Building the grid's rows from the description: which members get a row and what
// their value column holds.
#include "ui/grid/GridModel.h"

#include "core/Host.h"
#include "device/present/ParameterRows.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "ui/Icons.h"

namespace {

const QString Details = QStringLiteral("Détails...");

bool isTrue(XmlNode member, const char* child) { return textToBool(member.childText(child)); }

bool isDetailsGroup(const QString& name)
{
    return name == QLatin1String("PDO") || name == QLatin1String("TEDS");
}

// Enumeration entries: the items' texts, or their values with the member's unit.
QStringList enumEntries(XmlNode member, bool numbers, const QString& language)
{
    const QString unit = member.childText("Unit");
    QStringList entries;
    for (XmlNode item : member.child("Enumeration").elementChildren()) {
        if (!numbers) {
            entries << Descr_GetText(item, language);
            continue;
        }
        const QString number = QString::number(StrToDouble(item.childText("Value")));
        entries << (unit.isEmpty() ? number : number + ' ' + unit);
    }
    return entries;
}

}  // namespace

void GridModel::build()
{
    beginResetModel();
    rows_.clear();
    top_.clear();
    byPath_.clear();
    periodic_.clear();
    if (const Description* d = description()) {
        const BusyScope filling(*this);
        addMembers(d->root(), 1, QStringLiteral("."), -1);
    }
    endResetModel();
}

void GridModel::addMembers(XmlNode group, int level, const QString& path, int parent)
{
    for (XmlNode member : group.child("Members").elementChildren()) {
        if (!shownOn(member, state_.CurrentInterface.InterfaceType))
            continue;
        const QString name = member.childText("Name");
        const QString memberPath = path == QLatin1String(".") ? name : path + '/' + name;
        const ParameterKind kind = parameterKind(member.name());
        if (kind == ParameterKind::SequenceConstLong)
            continue;
        if (kind == ParameterKind::Unknown) {
            ShowMessage(*state_.core.host,
                        memberPath + QStringLiteral(": Type de paramètre inconnu '") + member.name() +
                            QStringLiteral("'!"),
                        msg::Ok);
            continue;
        }
        GridRow row;
        row.path = memberPath;
        row.kindName = member.name();
        row.kind = kind;
        row.level = level;
        row.parent = parent;
        addRow(std::move(row), member);
        if (kind == ParameterKind::Group)
            addMembers(member, level + 1, memberPath, int(rows_.size()) - 1);
    }
}

void GridModel::addRow(GridRow row, XmlNode member)
{
    const QString& language = state_.core.Language;
    row.text = Descr_GetText(member, language);
    row.help = Descr_GetHelpText(member, language);
    row.helpTopic = Descr_GetHelpTopic(member);
    const QString access = member.childText("AccessMode");
    row.readOnly = access == QLatin1String("RO");
    row.writeOnly = access == QLatin1String("WO");
    row.persistent = isTrue(member, "Persistent");
    row.secret = isTrue(member, "Secret");
    row.periodic = isTrue(member, "UpdatePeriodically");
    describeCell(row, member);

    const int index = int(rows_.size());
    std::vector<int>& siblings = row.parent < 0 ? top_ : rows_[size_t(row.parent)].children;
    row.position = int(siblings.size());
    siblings.push_back(index);
    byPath_.insert(row.path, index);
    if (row.periodic)
        periodic_.push_back(index);
    rows_.push_back(std::move(row));
}

void GridModel::describeCell(GridRow& row, XmlNode member)
{
    const XmlNode gui = member.child("GUI");
    switch (row.kind) {
    case ParameterKind::Group:
        if (isDetailsGroup(member.childText("Name"))) {
            row.cell = GridCell::Button;
            row.caption = Details;
        }
        return;
    case ParameterKind::BitMask:
        row.cell = GridCell::Button;
        row.caption = Details;
        return;
    case ParameterKind::ActionByte:
    case ParameterKind::ActionLong:
        row.cell = GridCell::Button;
        row.caption = gui ? Descr_GetText(gui, state_.core.Language) : QString();
        row.icon = picture(gui, "Icon");
        if (row.icon.isNull() && row.caption.isEmpty())
            row.icon = Icon(QStringLiteral("IMG_EXECUTE"));
        return;
    case ParameterKind::Toggle:
        row.cell = GridCell::Check;
        row.iconOn = picture(gui, "IconOn");
        row.iconOff = picture(gui, "IconOff");
        if (row.iconOn.isNull())
            row.iconOn = Icon(QStringLiteral("IMG_CHECKED"));
        if (row.iconOff.isNull())
            row.iconOff = Icon(QStringLiteral("IMG_UNCHECKED"));
        return;
    case ParameterKind::EnumString:
    case ParameterKind::EnumFloat:
        row.entries = enumEntries(member, row.kind == ParameterKind::EnumFloat, state_.core.Language);
        row.cell = row.readOnly || row.entries.size() == 1 ? GridCell::Text : GridCell::List;
        return;
    default:
        row.cell = row.readOnly ? GridCell::Text : GridCell::Edit;
        return;
    }
}

// A picture named by the member's GUI element, from the description folder.
QIcon GridModel::picture(XmlNode gui, const char* element) const
{
    const QString file = gui ? gui.childText(element).trimmed() : QString();
    if (file.isEmpty())
        return {};
    auto found = pictures_.constFind(file);
    if (found == pictures_.constEnd())
        found = pictures_.insert(file, QIcon(Descr_Folder(state_.core) + '/' + file));
    return *found;
}
