// Clock, signal settings, NMT state, restart and TEDS accessors of the simulated amplifier.
#include "sim/amplifier/SimAmplifier.h"

#include "sim/amplifier/ValueCodec.h"

int64_t SimAmplifier::nowLocked() const { return (timeSource_ ? timeSource_() : 0) + clockOffset_; }

bool SimAmplifier::silentLocked() const
{
    return faults_.silent || nmt_ == NmtState::Stopped || nowLocked() < silentUntil_;
}

void SimAmplifier::setTimeSource(std::function<int64_t()> source)
{
    std::lock_guard lock(mutex_);
    timeSource_ = std::move(source);
}

void SimAmplifier::advance(int64_t ms)
{
    std::lock_guard lock(mutex_);
    clockOffset_ += ms;
}

int64_t SimAmplifier::now() const
{
    std::lock_guard lock(mutex_);
    return nowLocked();
}

void SimAmplifier::setSignalSettings(const SignalSettings& settings)
{
    std::lock_guard lock(mutex_);
    signal_.setSettings(settings);
}

SignalSettings SimAmplifier::signalSettings() const
{
    std::lock_guard lock(mutex_);
    return signal_.settings();
}

double SimAmplifier::grossValue()
{
    std::lock_guard lock(mutex_);
    return measure(nowLocked()).gross;
}

double SimAmplifier::netValue()
{
    std::lock_guard lock(mutex_);
    return measure(nowLocked()).net;
}

void SimAmplifier::setDigitalInput(bool on)
{
    std::lock_guard lock(mutex_);
    digitalInput_ = on;
}

NmtState SimAmplifier::nmtState() const
{
    std::lock_guard lock(mutex_);
    return nmt_;
}

void SimAmplifier::setNmtState(NmtState state)
{
    std::lock_guard lock(mutex_);
    nmt_ = state;
}

void SimAmplifier::resetCommunication()
{
    std::lock_guard lock(mutex_);
    restore(storedComm_);
    nmt_ = NmtState::PreOperational;
}

void SimAmplifier::setRestartSilence(int ms)
{
    std::lock_guard lock(mutex_);
    restartSilenceMs_ = ms;
}

int SimAmplifier::restartSilence() const
{
    std::lock_guard lock(mutex_);
    return restartSilenceMs_;
}

void SimAmplifier::restart()
{
    std::lock_guard lock(mutex_);
    runAction(SimAction::Restart);
}

uint32_t SimAmplifier::restartCount() const
{
    std::lock_guard lock(mutex_);
    return restarts_;
}

void SimAmplifier::startWriteJournal()
{
    std::lock_guard lock(mutex_);
    journaling_ = true;
    journal_.clear();
}

std::vector<SimWrite> SimAmplifier::writeJournal() const
{
    std::lock_guard lock(mutex_);
    return journal_;
}

bool SimAmplifier::isChanged() const
{
    std::lock_guard lock(mutex_);
    return changed_;
}

uint64_t SimAmplifier::unsignedAt(ObjectKey key) const
{
    std::lock_guard lock(mutex_);
    const ObjectEntry* entry = dictionary_.find(key);
    return entry ? valuecodec::toUnsigned(entry->value) : 0;
}

QByteArray SimAmplifier::tedsBlock() const
{
    std::lock_guard lock(mutex_);
    return tedsBlock_;
}

void SimAmplifier::setTedsBlock(const QByteArray& block)
{
    std::lock_guard lock(mutex_);
    takeTedsBlock(block);
}

bool SimAmplifier::hasTeds() const
{
    std::lock_guard lock(mutex_);
    return hasTeds_;
}

bool SimAmplifier::tedsActive() const
{
    std::lock_guard lock(mutex_);
    return tedsActive_;
}

uint32_t SimAmplifier::tedsErrorStatus() const
{
    std::lock_guard lock(mutex_);
    return tedsError_;
}
