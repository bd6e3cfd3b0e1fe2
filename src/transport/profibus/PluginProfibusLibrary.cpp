#include "transport/profibus/PluginProfibusLibrary.h"

#include "transport/FieldbusPlugin.h"

namespace {

bool complete(const quelbrin_profibus_api& api)
{
    return api.c2_init && api.c2_close && api.c2_scan && api.c2_connect && api.c2_disconnect && api.c2_read &&
           api.c2_read_int8 && api.c2_read_int16 && api.c2_read_int32 && api.c2_read_float && api.c2_write &&
           api.c2_write_int8 && api.c2_write_int16 && api.c2_write_int32 && api.c2_write_float;
}

}  // namespace

std::unique_ptr<PluginProfibusLibrary> PluginProfibusLibrary::load(const QString& path, QString* reason)
{
    auto library = std::make_unique<QLibrary>(path);
    const auto* api = Plugin_LoadApi<quelbrin_profibus_api>(*library, QUELBRIN_PROFIBUS_PLUGIN_ENTRY, complete,
                                                            reason);
    if (!api)
        return nullptr;
    return std::unique_ptr<PluginProfibusLibrary>(new PluginProfibusLibrary(std::move(library), *api));
}

int32_t PluginProfibusLibrary::c2Init(ProfibusCard card, ProfibusDiag& diag)
{
    return api_.c2_init(card.type, card.devno, diag.data());
}

int32_t PluginProfibusLibrary::c2Close(ProfibusCard card)
{
    return api_.c2_close(card.type, card.devno);
}

int32_t PluginProfibusLibrary::c2Scan(ProfibusCard card, ProfibusStationList& stations, ProfibusDiag& diag)
{
    return api_.c2_scan(card.type, card.devno, stations.data(), diag.data());
}

int32_t PluginProfibusLibrary::c2Connect(ProfibusCard card, uint8_t station, ProfibusDiag& diag)
{
    return api_.c2_connect(card.type, card.devno, station, diag.data());
}

int32_t PluginProfibusLibrary::c2Disconnect(ProfibusCard card, uint8_t station, ProfibusDiag& diag)
{
    return api_.c2_disconnect(card.type, card.devno, station, diag.data());
}

int32_t PluginProfibusLibrary::c2Read(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                      uint8_t* buffer, int32_t& length, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_read(card.type, card.devno, station, slot, index, buffer, &length, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2ReadInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                          uint8_t& value, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_read_int8(card.type, card.devno, station, slot, index, &value, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2ReadInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                           int16_t& value, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_read_int16(card.type, card.devno, station, slot, index, &value, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2ReadInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                           int32_t& value, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_read_int32(card.type, card.devno, station, slot, index, &value, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2ReadFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                           float& value, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_read_float(card.type, card.devno, station, slot, index, &value, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2Write(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                       const uint8_t* buffer, int32_t length, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_write(card.type, card.devno, station, slot, index, buffer, length, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2WriteInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                           uint8_t value, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_write_int8(card.type, card.devno, station, slot, index, value, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2WriteInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                            int16_t value, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_write_int16(card.type, card.devno, station, slot, index, value, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2WriteInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                            int32_t value, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_write_int32(card.type, card.devno, station, slot, index, value, timeoutMs, diag.data());
}

int32_t PluginProfibusLibrary::c2WriteFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                            float value, int32_t timeoutMs, ProfibusDiag& diag)
{
    return api_.c2_write_float(card.type, card.devno, station, slot, index, value, timeoutMs, diag.data());
}
