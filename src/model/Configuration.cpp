#include "model/Configuration.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "model/ValueText.h"

#include <cmath>

int32_t Conf_New(const QString& schemaPath, std::unique_ptr<XmlDocument>& document)
{
    if (const int32_t created = Xml_Create(schemaPath, document); created < 0)
        return created;
    document->createDocumentElement(QStringLiteral("DeviceConfiguration"))
        .appendElement(QStringLiteral("Parameters"));
    return rc::Ok;
}

int32_t Conf_LoadFile(Host& host, const QString& path, const QString& schemaPath,
                      std::unique_ptr<XmlDocument>& document)
{
    std::unique_ptr<XmlDocument> loaded;
    const int32_t result = Xml_Load(host, path, QString(), loaded);
    if (result < 0)
        return result;
    if (loaded->documentElement().name() != QLatin1String("DeviceConfiguration")) {
        ShowMessage(host,
                    '\'' + path + QStringLiteral("' n'est pas un fichier de configuration de l'appareil !"),
                    msg::Error);
        return rc::UnknownInterface;
    }
    // Checked against the schema only once it is known to be a configuration, so that
    // a wrong kind of file gets the message that says so.
    loaded->setSchemaPath(schemaPath);
    QString reason;
    if (!loaded->validate(&reason)) {
        ShowMessage(host,
                    QStringLiteral("Erreur lors du chargement du document  XML : ") + path +
                        QStringLiteral("\r\nMessage : ") + reason,
                    msg::Ok);
        return rc::Failed;
    }
    document = std::move(loaded);
    return rc::Ok;
}

XmlNode Conf_Parameters(const XmlDocument* document)
{
    return document ? document->documentElement().child("Parameters") : XmlNode();
}

namespace {

// The element of the path (created when missing) and the read's result.
int32_t storedText(XmlNode parameters, const QString& path, QString& text)
{
    XmlNode element;
    text.clear();
    if (Conf_GetNode(path, parameters, element) < 0 || !element)
        return rc::UnknownInConfiguration;
    text = element.text();
    return element.hasAttribute("Status") ? element.attribute("Status").toInt() : rc::Ok;
}

template <typename T>
int32_t storedNumber(XmlNode parameters, const QString& path, T& value)
{
    QString text;
    const int32_t result = storedText(parameters, path, text);
    value = roundTo<T>(leadingNumber(text));
    return result;
}

}  // namespace

int32_t Conf_GetToggle(XmlNode parameters, const QString& path, bool& value)
{
    QString text;
    const int32_t result = storedText(parameters, path, text);
    value = textToBool(text);
    return result;
}

int32_t Conf_GetByte(XmlNode parameters, const QString& path, uint8_t& value)
{
    return storedNumber(parameters, path, value);
}

int32_t Conf_GetShort(XmlNode parameters, const QString& path, int16_t& value)
{
    return storedNumber(parameters, path, value);
}

int32_t Conf_GetLong(XmlNode parameters, const QString& path, int32_t& value)
{
    return storedNumber(parameters, path, value);
}

int32_t Conf_GetFloat(XmlNode parameters, const QString& path, float& value)
{
    QString text;
    const int32_t result = storedText(parameters, path, text);
    value = float(leadingNumber(text));
    return result;
}

int32_t Conf_GetDate(XmlNode parameters, const QString& path, QDate& value)
{
    QString text;
    const int32_t result = storedText(parameters, path, text);
    value = textToDate(text);
    return result;
}

int32_t Conf_GetString(XmlNode parameters, const QString& path, QString& value)
{
    if (!parameters) {
        value.clear();
        return rc::MissingDocument;
    }
    return storedText(parameters, path, value);
}

void Conf_StoreRead(XmlNode element, const QString& text)
{
    element.removeAttribute("Status");
    element.setText(text);
}

void Conf_MarkFailed(XmlNode element, int32_t result)
{
    element.setAttribute("Status", QString::number(result));
}
