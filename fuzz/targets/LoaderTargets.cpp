#include "FuzzTargets.h"
#include "QuietHost.h"
#include "ScratchFolder.h"

#include "core/AppCore.h"
#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "model/Configuration.h"
#include "model/Descriptions.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every member whose name is a plain word is found again by that name.
QString findMembersByName(const Description& description)
{
    static const QRegularExpression plainWord(QStringLiteral("^\\w+$"));
    for (XmlNode holder = description.root().firstElementChild(); holder; holder = holder.nextElementSibling()) {
        for (XmlNode member = holder.firstElementChild(); member; member = member.nextElementSibling()) {
            const QString name = member.childText("Name");
            XmlNode found;
            if (plainWord.match(name).hasMatch() && Descr_FindNode(name, &description, found) != rc::Ok)
                return QStringLiteral("member '%1' not found by its name").arg(name);
        }
    }
    Descr_GetText(description.root(), QStringLiteral("fr"));
    Descr_GetHelpTopic(description.root());
    return {};
}

}  // namespace

QString fuzzDescription(const uint8_t* data, size_t size)
{
    QuietHost host;
    AppCore app;
    app.host = &host;
    app.programFolder = QStringLiteral(QUELBRIN_FUZZ_DATA_DIR);
    std::unique_ptr<Description> description;
    const QString path = writeScratchFile(QStringLiteral("description.xml"), bytesOf(data, size));
    if (Descr_Load(app, path, description) < 0)
        return description || host.messages == 0 ? QStringLiteral("refused without a message") : QString();
    if (!description || description->root().name() != QLatin1String("ParameterGroup"))
        return QStringLiteral("loaded without its parameter group");
    return findMembersByName(*description);
}

QString fuzzConfiguration(const uint8_t* data, size_t size)
{
    QuietHost host;
    const QString schema = QStringLiteral(QUELBRIN_FUZZ_DATA_DIR "/DevConf.xsd");
    std::unique_ptr<XmlDocument> document;
    if (Conf_New(schema, document) < 0)
        return QStringLiteral("no empty configuration to start from");
    const XmlDocument* before = document.get();
    const QString path = writeScratchFile(QStringLiteral("configuration.xml"), bytesOf(data, size));
    if (Conf_LoadFile(host, path, schema, document) < 0) {
        if (document.get() != before)
            return QStringLiteral("refused but the document was replaced");
        return host.messages == 0 ? QStringLiteral("refused without a message") : QString();
    }
    const XmlNode parameters = Conf_Parameters(document.get());
    if (document->documentElement().name() != QLatin1String("DeviceConfiguration"))
        return QStringLiteral("loaded a document that is no configuration");
    for (XmlNode element = parameters.firstElementChild(); element; element = element.nextElementSibling()) {
        int32_t number = 0;
        QString text;
        // Whatever status a loaded element carries is a valid answer: the reads must only hold.
        static_cast<void>(Conf_GetLong(parameters, element.name(), number));
        static_cast<void>(Conf_GetString(parameters, element.name(), text));
    }
    return {};
}

QString fuzzSettings(const uint8_t* data, size_t size)
{
    QuietHost host;
    AppCore app;
    app.host = &host;
    fuzzScratchFolder();  // sets the settings folder
    const QByteArray written = bytesOf(data, size);
    const QString path = AppConf_FilePath(app);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(written) != written.size())
            return QStringLiteral("settings file not written");
    }
    if (AppConf_Load(app) != rc::Ok)
        return QStringLiteral("AppConf_Load failed");
    const QString key = QStringLiteral("Fuzz/Probe");
    QString value;
    if (AppConf_SetValue(app, key, QStringLiteral("1")) == rc::Ok) {
        return AppConf_GetValue(app, key, value) == rc::Ok && value == QLatin1String("1")
                   ? QString()
                   : QStringLiteral("a value set is not read back");
    }
    // The save may refuse the damaged document; either way the file must be as it was.
    static_cast<void>(AppConf_Save(app));
    return fileBytes(path) == written ? QString() : QStringLiteral("a damaged settings file was written over");
}
