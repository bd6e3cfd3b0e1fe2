// show, get and set: the parameters of one device.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "device/present/ParameterEdit.h"
#include "device/present/ParameterRows.h"
#include "model/Descriptions.h"
#include "model/ParameterKind.h"
#include "transport/ErrorText.h"

#include <QStringList>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr int ColumnGap = 2;

// The description member of the path; null after a message when there is none.
XmlNode findMember(DeviceContext& d, const QString& path)
{
    XmlNode member;
    const int32_t found = Descr_FindNode(path, Descr_OfDevice(d.state.descriptions, d.entry), member);
    if (found < 0) {
        cliError(path + QStringLiteral(": ") + ErrorText(d.state, d.settings, d.entry, found, path));
        return {};
    }
    return member;
}

// One line per row: the path, the value in a column after the longest path, and a
// failed read's code and words in brackets.
QString formatRows(const std::vector<ParameterRow>& rows)
{
    qsizetype width = 0;
    for (const ParameterRow& row : rows)
        width = std::max(width, row.path.size());
    QStringList lines;
    for (const ParameterRow& row : rows) {
        QString line = row.path.leftJustified(width + ColumnGap) + row.value;
        if (row.status != 0)
            line += QStringLiteral("  [%1 %2]").arg(row.status).arg(row.statusText);
        lines << line.trimmed();
    }
    return lines.join('\n');
}

int printRows(const std::vector<ParameterRow>& rows)
{
    QTextStream(stdout) << formatRows(rows) << Qt::endl;
    const bool failed = std::any_of(rows.begin(), rows.end(), [](const ParameterRow& row) { return row.status < 0; });
    return failed ? exitcode::Failed : exitcode::Ok;
}

// What the grid offers no edit cell for.
bool editable(DeviceContext& d, XmlNode member, const QString& path)
{
    if (!hasValue(member) || parameterKind(member.name()) == ParameterKind::ValueHexBinary) {
        cliError(path + QStringLiteral(": the command line sets no value of a ") + member.name());
        return false;
    }
    if (member.childText("AccessMode") == QLatin1String("RO")) {
        ShowMessage(*d.state.core.host, ErrorText(d.state, d.settings, d.entry, rc::ReadOnly, path), msg::Warning);
        return false;
    }
    return true;
}

}  // namespace

int runShow(CliSession& session, const CliOptions& options)
{
    if (!session.openDevice(options.interface, options.device))
        return exitcode::Failed;
    DeviceContext d = session.device();
    std::vector<ParameterRow> rows;
    groupRows(d, Descr_OfDevice(d.state.descriptions, d.entry)->root(), QStringLiteral("."), rows);
    return printRows(rows);
}

int runGet(CliSession& session, const CliOptions& options)
{
    if (!session.openDevice(options.interface, options.device))
        return exitcode::Failed;
    DeviceContext d = session.device();
    const QString& path = options.arguments[0];
    const XmlNode member = findMember(d, path);
    if (!member)
        return exitcode::Failed;
    std::vector<ParameterRow> rows;
    if (parameterKind(member.name()) == ParameterKind::Group)
        groupRows(d, member, path, rows);
    else if (hasValue(member))
        rows.push_back(parameterRow(d, member, path));
    if (rows.empty()) {
        cliError(path + QStringLiteral(": no value to show"));
        return exitcode::Failed;
    }
    return printRows(rows);
}

int runSet(CliSession& session, const CliOptions& options)
{
    if (!session.openDevice(options.interface, options.device))
        return exitcode::Failed;
    DeviceContext d = session.device();
    const QString& path = options.arguments[0];
    const XmlNode member = findMember(d, path);
    if (!member || !editable(d, member, path))
        return exitcode::Failed;
    const int32_t result = editValue(d, member, path, options.arguments[1]);
    printRows({parameterRow(d, member, path)});
    return result < 0 ? exitcode::Failed : exitcode::Ok;
}
