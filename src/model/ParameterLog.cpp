#include "model/ParameterLog.h"

#include "core/AppCore.h"
#include "core/DeviceEntry.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"

void Log_WriteParameterError(AppCore& app, const DeviceEntry& entry, XmlNode parameter,
                             const QString& text)
{
    if (!Log_IsOpen(app))
        return;
    QString line = Log_TimeStamp() + QStringLiteral(", ") + Device_GetLabel(entry) +
                   QStringLiteral(", Paramètre '") + Descr_GetText(parameter, app.Language) + '\'';
    if (entry.InterfaceKind == CANBus) {
        const XmlNode sdo = parameter.child("Communication").child("SDO");
        line += QStringLiteral(", Index SDO") +
                QString::number(roundTo<int32_t>(StrToDouble(sdo.childText("Index")))) +
                QStringLiteral(", Sous-index SDO ") +
                QString::number(roundTo<int32_t>(StrToDouble(sdo.childText("Sub"))));
    }
    app.log.writeLine(line + QStringLiteral(": ") + text);
}
