// show, get and set: the parameters of one device.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/ParameterRows.h"
#include "cli/ValueEntry.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/Descriptions.h"
#include "model/ParameterKind.h"
#include "transport/ErrorText.h"

#include <QTextStream>
#include <algorithm>

namespace {

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

int printRows(const std::vector<ParameterRow>& rows)
{
    QTextStream(stdout) << formatRows(rows) << Qt::endl;
    const bool failed = std::any_of(rows.begin(), rows.end(), [](const ParameterRow& row) { return row.status < 0; });
    return failed ? exitcode::Failed : exitcode::Ok;
}

// Stores the value, writes it and reads it back, as the grid does with an edited
// cell: 0 or 2 when the device took it, else the failure after its messages.
int32_t setValue(DeviceContext& d, XmlNode member, const QString& path, const QString& text)
{
    AppState& state = d.state;
    int32_t result = storeEnteredValue(state.core, Descr_OfDevice(state.descriptions, d.entry), member,
                                       d.parameters, path, text);
    if (result >= 0)
        result = DeviceSetValue(state, d.settings, d.entry, d.parameters, path, state.core.host, false);
    if (result == rc::ReloadComplete) {
        readBackIntoConfiguration(state, d.settings, d.entry, d.parameters, QStringLiteral("."), state.core.host);
        return result;
    }
    if (result != rc::Ok)
        ShowMessage(*state.core.host,
                    QStringLiteral("Paramètre '") + Descr_GetText(member, state.core.Language) +
                        QStringLiteral("': Erreur lors de la mise du paramètre !"),
                    msg::Ok);
    readBackIntoConfiguration(state, d.settings, d.entry, d.parameters, path, state.core.host);
    return result;
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
    const int32_t result = setValue(d, member, path, options.arguments[1]);
    printRows({parameterRow(d, member, path)});
    return result < 0 ? exitcode::Failed : exitcode::Ok;
}
