#pragma once
#include "core/AppCore.h"

#include <QString>
#include <cstdint>

// The application settings file: "Configuration" with one element per key level.
QString AppConf_FilePath(const AppCore& app);
// Loads the settings file when it exists and applies the keys read at start-up.
// Always 0: a damaged file has shown its message and the defaults stay.
int32_t AppConf_Load(AppCore& app);
// A new empty settings document, saved at once.
void AppConf_Create(AppCore& app);
// Creates the settings document when none is held (a first start), so that the
// values written next are kept rather than only creating it.
void AppConf_Ensure(AppCore& app);
[[nodiscard]] int32_t AppConf_Save(AppCore& app);
[[nodiscard]] int32_t AppConf_GetValue(AppCore& app, const QString& key, QString& value);
[[nodiscard]] int32_t AppConf_SetValue(AppCore& app, const QString& key, const QString& value);

// Reads a key without creating it; false when the element is missing.
bool AppConf_Find(const AppCore& app, const QString& key, QString& value);

// Setting value encodings.
bool settingToBool(const QString& text);
QString boolToSetting(bool value);
// Leading decimal digits (with sign); none gives 0.
int32_t leadingInteger(const QString& text);

QString GetUserDataPath(AppCore& app);
void SetUserDataPath(AppCore& app, const QString& path);
