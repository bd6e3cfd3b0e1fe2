#pragma once
#include <quelbrin/fieldbus_plugin.h>

#include <QLibrary>
#include <QString>

// Loads a fieldbus plug-in (include/quelbrin/fieldbus_plugin.h) and returns the table
// its entry function gives, or null with *reason saying why: the library does not
// load, lacks the entry, returns no table, a table of another version, or one with
// a function missing (complete(table) is false).
template <typename Api, typename Complete>
const Api* Plugin_LoadApi(QLibrary& library, const char* entry, Complete complete, QString* reason)
{
    auto fail = [&](const QString& why) -> const Api* {
        if (reason)
            *reason = why;
        return nullptr;
    };
    if (!library.load())
        return fail(library.errorString());
    using Entry = const Api* (*)();
    const auto function = reinterpret_cast<Entry>(library.resolve(entry));
    if (!function)
        return fail(QStringLiteral("la fonction %1 manque").arg(QLatin1String(entry)));
    const Api* api = function();
    if (!api)
        return fail(QStringLiteral("%1 ne rend aucune table").arg(QLatin1String(entry)));
    if (api->version != QUELBRIN_FIELDBUS_PLUGIN_VERSION)
        return fail(QStringLiteral("version %1 au lieu de %2").arg(api->version).arg(QUELBRIN_FIELDBUS_PLUGIN_VERSION));
    if (!complete(*api))
        return fail(QStringLiteral("la table de %1 est incomplète").arg(QLatin1String(entry)));
    return api;
}
