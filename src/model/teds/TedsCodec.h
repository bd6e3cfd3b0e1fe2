#pragma once
#include "model/teds/TedsLayout.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One field of a decoded TEDS: its layout and its raw code.
struct TedsField {
    const TedsFieldLayout* layout = nullptr;
    uint64_t raw = 0;
    bool operator==(const TedsField&) const = default;
};

// The decoded fields in stream order, structural ones (selectors, template ID) included.
struct TedsContent {
    QList<TedsField> fields;
    bool operator==(const TedsContent&) const = default;

    TedsField* find(const char* key);
    const TedsField* find(const char* key) const;
    // Sets a field from its text (TedsFieldText.h); false when there is no such field
    // or the text is no value of it.
    bool set(const char* key, const QString& text);
    int bits() const;  // the stream bits the fields take
};

// What a memory image decodes to: the content, or nothing and why. A content whose
// template is not decoded comes with a message too.
struct TedsReading {
    std::optional<TedsContent> content;
    QString message;
};

TedsReading decodeTeds(const QByteArray& image);
// The image with the content's fields written over it and the checksums of the pages
// they take set; the image's other bits and pages stay as they are.
QByteArray encodeTeds(const TedsContent& content, QByteArray image = {});

// A basic TEDS and the full-precision bridge-sensor template, every field code 0 but
// the structure.
TedsContent bridgeSensorContent();
