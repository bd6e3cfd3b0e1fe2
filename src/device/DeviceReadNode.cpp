// What the typed access reads from a parameter's description node.
#include "device/DeviceAccessSupport.h"
#include "model/ValueText.h"

namespace deviceaccess {

bool flagOf(XmlNode node, const char* name)
{
    return textToBool(node.childText(name));
}

int32_t numberOf(XmlNode node, const char* name)
{
    return roundTo<int32_t>(StrToDouble(node.childText(name)));
}

QString accessModeOf(XmlNode node)
{
    return node.hasChild("AccessMode") ? node.childText("AccessMode").trimmed() : QStringLiteral("RW");
}

QString childPath(const QString& path, const QString& name)
{
    return path == QLatin1String(".") ? name : path + u'/' + name;
}

}  // namespace deviceaccess
