#pragma once
#include "DescriptionText.h"

#include "core/AppCore.h"
#include "support/ScriptedHost.h"

#include <QLocale>
#include <optional>
#include <gtest/gtest.h>

// A description with one parameter per kind of limit the checks know, an empty
// configuration, and a French user (decimal comma in messages).
class ValidationTest : public testing::Test {
protected:
    ValidationTest();
    ~ValidationTest() override;

    // The one message shown since the last call, or none at all.
    void expectMessage(const QString& text, int style);
    void expectNoMessage();
    // Text of the parameter's element; none when it was not created.
    std::optional<QString> storedText(const QString& path) const;

    ScriptedHost host;
    AppCore app;
    std::unique_ptr<Description> description;
    std::unique_ptr<XmlDocument> configuration;
    XmlNode parameters;

private:
    QLocale userLocale_;
};
