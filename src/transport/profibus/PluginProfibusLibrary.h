#pragma once
#include "transport/profibus/ProfibusLibrary.h"

#include <quelbrin/fieldbus_plugin.h>

#include <QLibrary>
#include <QString>
#include <memory>

// The PROFIBUS library of a plug-in (quelbrin_profibus_plugin()): every call goes
// to the plug-in's function of the same name.
class PluginProfibusLibrary : public ProfibusLibrary {
public:
    // Null, and *reason, when the file is no usable PROFIBUS plug-in.
    static std::unique_ptr<PluginProfibusLibrary> load(const QString& path, QString* reason);

    [[nodiscard]] int32_t c2Init(ProfibusCard card, ProfibusDiag& diag) override;
    [[nodiscard]] int32_t c2Close(ProfibusCard card) override;
    [[nodiscard]] int32_t c2Scan(ProfibusCard card, ProfibusStationList& stations, ProfibusDiag& diag) override;
    [[nodiscard]] int32_t c2Connect(ProfibusCard card, uint8_t station, ProfibusDiag& diag) override;
    [[nodiscard]] int32_t c2Disconnect(ProfibusCard card, uint8_t station, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2Read(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t* buffer,
                   int32_t& length, int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2ReadInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t& value,
                       int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2ReadInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int16_t& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2ReadInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2ReadFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, float& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2Write(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, const uint8_t* buffer,
                    int32_t length, int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2WriteInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t value,
                        int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2WriteInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int16_t value,
                         int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2WriteInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t value,
                         int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2WriteFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, float value,
                         int32_t timeoutMs, ProfibusDiag& diag) override;

private:
    PluginProfibusLibrary(std::unique_ptr<QLibrary> library, const quelbrin_profibus_api& api)
        : library_(std::move(library)), api_(api) {}

    std::unique_ptr<QLibrary> library_;
    const quelbrin_profibus_api& api_;
};
