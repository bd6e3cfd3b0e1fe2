// What writes set off in the simulated amplifier: the changed flag, actions,
// the command word, stores, restart and the TEDS.
#include "model/teds/TedsCodec.h"
#include "model/teds/TedsFieldText.h"
#include "sim/SdoTarget.h"
#include "sim/amplifier/SimAmplifier.h"
#include "sim/amplifier/StandardObjects.h"
#include "sim/amplifier/ValueCodec.h"

namespace {

// "Measurement/CommandWord" bits, in the order they run.
constexpr std::pair<uint64_t, SimAction> CommandBits[] = {
    {0x04, SimAction::Zero},
    {0x01, SimAction::Tare},
    {0x02, SimAction::ClearTare},
    {0x08, SimAction::ResetPeak},
};

bool isStoreAction(SimAction action)
{
    return action == SimAction::SaveApp || action == SimAction::SaveComm || action == SimAction::SaveAll
           || action == SimAction::FactoryApp || action == SimAction::FactoryComm;
}

}  // namespace

void SimAmplifier::afterWrite(ObjectEntry& entry)
{
    const ObjectKey key = entry.key;
    const uint64_t written = isNumeric(entry.kind) ? valuecodec::toUnsigned(entry.value) : 0;
    if (key == live_.tedsBlock) {
        takeTedsBlock(entry.value);
        if (number(live_.autoActivateTeds).value_or(0) != 0)
            activateTeds();
    } else if (key == live_.hasTeds) {
        hasTeds_ = written != 0;
    } else if (key == live_.commandWord) {
        runCommandWord(written);
        entry.value.fill('\0');
    }
    if (entry.persistent && !isCommunicationObject(key.index))
        changed_ = true;
}

void SimAmplifier::runCommandWord(uint64_t bits)
{
    for (const auto& [bit, action] : CommandBits) {
        if (bits & bit)
            runAction(action);
    }
}

SimAction SimAmplifier::actionAt(ObjectKey key) const
{
    const auto it = actions_.find(key);
    return it == actions_.end() ? SimAction::None : it->second;
}

// Store and restore actions answer a wrong signature as CiA 301 does for 0x1010.
uint32_t SimAmplifier::checkAction(const ObjectEntry& entry, const QByteArray& data) const
{
    if (!isStoreAction(actionAt(entry.key)))
        return 0;
    const auto value = valuecodec::decode(entry, data);
    const bool wrong = value && entry.actionValue && *value != static_cast<double>(*entry.actionValue);
    return wrong ? sdoabort::CannotStore : 0;
}

void SimAmplifier::runAction(SimAction action)
{
    const int64_t ms = nowLocked();
    auto keepKeys = [](const Snapshot& set) { return [&set](const ObjectEntry& e) { return set.count(e.key) > 0; }; };
    switch (action) {
    case SimAction::SaveAll:
        storedComm_ = snapshot(keepKeys(storedComm_));
        [[fallthrough]];
    case SimAction::SaveApp:
        storedApp_ = snapshot(keepKeys(storedApp_));
        changed_ = false;
        break;
    case SimAction::SaveComm:
        storedComm_ = snapshot(keepKeys(storedComm_));
        break;
    case SimAction::FactoryApp:
        restore(factoryApp_);
        storedApp_ = factoryApp_;
        changed_ = false;
        break;
    case SimAction::FactoryComm:
        restore(factoryComm_);
        storedComm_ = factoryComm_;
        break;
    case SimAction::Restart:
        restore(storedApp_);
        restore(storedComm_);
        changed_ = false;
        nmt_ = NmtState::PreOperational;
        allowPdoOperation();
        silentUntil_ = ms + restartSilenceMs_;
        ++restarts_;
        break;
    case SimAction::ActivateTeds:
        activateTeds();
        break;
    case SimAction::Zero:
        setOffset(live_.zeroOffset, zeroOffset_, inputAt(ms));
        break;
    case SimAction::Tare:
        setOffset(live_.tareOffset, tareOffset_, measure(ms).gross);
        break;
    case SimAction::ClearTare:
        setOffset(live_.tareOffset, tareOffset_, 0.0);
        break;
    case SimAction::ResetPeak:
        peakMax_.reset();
        peakMin_.reset();
        break;
    case SimAction::None:
        break;
    }
}

void SimAmplifier::activateTeds()
{
    const TedsReading reading = decodeTeds(tedsBlock_);
    const TedsField* range = reading.content ? reading.content->find("%MaxPhysVal") : nullptr;
    tedsActive_ = range != nullptr;
    tedsError_ = range ? 0 : reading.content ? tedserror::UnknownTemplate : tedserror::Unreadable;
    if (range && tedsValue(*range) > 0)
        signal_.setRange(tedsValue(*range));
}

void SimAmplifier::takeTedsBlock(const QByteArray& block)
{
    tedsBlock_ = block;
    hasTeds_ = decodeTeds(block).content.has_value();
    tedsActive_ = false;
    tedsError_ = hasTeds_ ? tedserror::NotApplied : tedserror::Unreadable;
}
