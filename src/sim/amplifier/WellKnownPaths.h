#pragma once

// Description paths whose parameters the simulated amplifier gives a behaviour.
namespace simpath {
constexpr const char* VendorId = "Common/VendorID";
constexpr const char* ProductId = "Common/ProductID";
constexpr const char* SerialNumber = "Common/SerialNumber";
constexpr const char* CanNodeId = "Interface/CANNodeID";
constexpr const char* ProfibusAddress = "Interface/ProfibusAddress";
constexpr const char* DeviceNetMacId = "Interface/DeviceNetMacID";
constexpr const char* ValueGross = "Measurement/ValueGros";
constexpr const char* ValueNet = "Measurement/ValueNet";
constexpr const char* InputSignal = "Measurement/InputSignal";
constexpr const char* PeakMax = "Measurement/PeakMax";
constexpr const char* PeakMin = "Measurement/PeakMin";
constexpr const char* ResetPeak = "Measurement/ResetPeak";
constexpr const char* CommandWord = "Measurement/CommandWord";
constexpr const char* StatusLong = "Measurement/StatusLong";
constexpr const char* StatusShort = "Measurement/StatusShort";
constexpr const char* DigitalIo = "DigitalIO/InputOutputLevel";
constexpr const char* DecimalPointPos = "Scaling/DecimalPointPos";
constexpr const char* Zero = "ZeroTare/Zero";
constexpr const char* ZeroOffset = "ZeroTare/ZeroOffset";
constexpr const char* Tare = "ZeroTare/Tare";
constexpr const char* TareOffset = "ZeroTare/TareOffset";
constexpr const char* ClearTare = "ZeroTare/ClearTare";
constexpr const char* LimitEnableMask = "LimitSwitches/EnableMask";
constexpr const char* LimitState = "LimitSwitches/State";
// Limit switch n (1 to 4): "%1" is n.
constexpr const char* LimitSource = "LimitSwitches/LimitSwitch%1/Source";
constexpr const char* LimitDirection = "LimitSwitches/LimitSwitch%1/Direction";
constexpr const char* LimitLevel = "LimitSwitches/LimitSwitch%1/OnLevel";
constexpr const char* TedsBlock = "TEDS/TEDSBlock";
constexpr const char* SensorId = "TEDS/SensorID";
constexpr const char* ActivateTeds = "TEDS/ActivateTEDS";
constexpr const char* AutoActivateTeds = "TEDS/AutoActivate";
constexpr const char* HasTeds = "TEDS/HasTEDS";
constexpr const char* TedsActive = "TEDS/TEDSActive";
constexpr const char* TedsErrorStatus = "TEDS/TEDSErrorStatus";
constexpr const char* Changed = "ApplicationObjects/Changed";
constexpr const char* SaveApp = "ApplicationObjects/SaveApp";
constexpr const char* SaveAll = "ApplicationObjects/SaveAll";
constexpr const char* FactorySettingsApp = "ApplicationObjects/FactorySettingsApp";
constexpr const char* Restart = "ApplicationObjects/Restart";
constexpr const char* AllowPdo = "PDO/AllowOperational";
constexpr const char* SaveComm = "PDO/Mappings/SaveComm";
constexpr const char* FactorySettingsComm = "PDO/Mappings/FactorySettingsComm";
}  // namespace simpath
