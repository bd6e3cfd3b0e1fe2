#include "model/teds/TedsCodec.h"

#include "model/teds/TedsBits.h"
#include "model/teds/TedsFieldText.h"
#include "model/teds/TedsMemory.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads fields one after the other from the data stream.
class StreamReader {
public:
    explicit StreamReader(const QByteArray& stream) : stream_(stream) {}

    uint64_t read(const TedsFieldLayout& layout, TedsContent& content)
    {
        const uint64_t raw = tedsbits::get(stream_, pos_, layout.bits);
        pos_ += layout.bits;
        content.fields.append({&layout, raw});
        return raw;
    }
    void readAll(std::span<const TedsFieldLayout> layouts, TedsContent& content)
    {
        for (const TedsFieldLayout& layout : layouts)
            read(layout, content);
    }

private:
    const QByteArray& stream_;
    int pos_ = 0;
};

QString basicFault(const TedsContent& content)
{
    for (const TedsField& field : content.fields.first(qsizetype(BasicTedsLayout().size())))
        if (!tedsCodeFits(*field.layout, field.raw))
            return QStringLiteral("TEDS de base non valable : %1, code %2 hors plage.")
                .arg(field.layout->label)
                .arg(field.raw);
    return {};
}

// Reads the sections after the basic TEDS as far as they are known; the note says
// where decoding stopped, empty when all is decoded.
QString readSections(StreamReader& reader, TedsContent& content)
{
    const uint64_t selector = reader.read(SelectorField(), content);
    if (selector == tedslayout::NoTemplate) {
        reader.read(EndSelectorField(), content);
        return {};
    }
    if (selector != tedslayout::StandardTemplate)
        return QStringLiteral("Sélecteur %1 après la TEDS de base non décodé.").arg(selector);
    const uint64_t id = reader.read(TemplateIdField(), content);
    if (id != tedslayout::BridgeTemplateId)
        return QStringLiteral("Modèle %1 non décodé : seule la TEDS de base est affichée.").arg(id);
    for (const TedsFieldLayout& layout : BridgeTemplateLayout()) {
        const uint64_t raw = reader.read(layout, content);
        if (std::strcmp(layout.key, tedslayout::ElecPrecisionKey) == 0 && raw != tedslayout::FullPrecision)
            return QStringLiteral("Précision du signal électrique (code %1) non décodée : "
                                  "la suite du modèle 33 n'est pas affichée.")
                .arg(raw);
    }
    const uint64_t end = reader.read(SelectorField(), content);
    if (end != tedslayout::NoTemplate)
        return QStringLiteral("La suite du modèle 33 (sélecteur %1) n'est pas décodée.").arg(end);
    reader.read(EndSelectorField(), content);
    return {};
}

QString hexByte(uint8_t value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, '0');
}

QString imageFault(const QByteArray& image, int bits)
{
    const int pages = tedsmemory::pagesFor(bits);
    if (image.size() < pages * tedsmemory::PageBytes)
        return QStringLiteral("Le bloc TEDS est trop court : %1 octets au lieu de %2.")
            .arg(image.size())
            .arg(pages * tedsmemory::PageBytes);
    for (int page = 0; page < pages; ++page)
        if (!tedsmemory::pageSound(image, page))
            return QStringLiteral("Somme de contrôle erronée dans la page %1 : 0x%2 au lieu de 0x%3.")
                .arg(page + 1)
                .arg(hexByte(uint8_t(image.at(page * tedsmemory::PageBytes))), hexByte(tedsmemory::checksumFor(image, page)));
    return {};
}

TedsReading refused(const QString& message)
{
    return {std::nullopt, message};
}

}  // namespace

TedsField* TedsContent::find(const char* key)
{
    const auto found = std::find_if(fields.begin(), fields.end(),
                                    [&](const TedsField& field) { return std::strcmp(field.layout->key, key) == 0; });
    return found == fields.end() ? nullptr : &*found;
}

const TedsField* TedsContent::find(const char* key) const
{
    return const_cast<TedsContent*>(this)->find(key);
}

bool TedsContent::set(const char* key, const QString& text)
{
    TedsField* field = find(key);
    const std::optional<uint64_t> raw = field ? tedsCodeOf(*field->layout, text) : std::nullopt;
    if (raw)
        field->raw = *raw;
    return raw.has_value();
}

int TedsContent::bits() const
{
    int bits = 0;
    for (const TedsField& field : fields)
        bits += field.layout->bits;
    return bits;
}

TedsReading decodeTeds(const QByteArray& image)
{
    if (image.isEmpty())
        return refused(QStringLiteral("Le bloc TEDS est vide."));
    if (image.size() % tedsmemory::PageBytes != 0)
        return refused(QStringLiteral("Longueur du bloc TEDS incorrecte : %1 octets au lieu d'un multiple de 32.")
                           .arg(image.size()));
    const QByteArray stream = tedsmemory::dataStream(image);
    StreamReader reader(stream);
    TedsContent content;
    reader.readAll(BasicTedsLayout(), content);
    const QString note = readSections(reader, content);
    if (QString fault = imageFault(image, content.bits()); !fault.isEmpty())
        return refused(fault);
    if (QString fault = basicFault(content); !fault.isEmpty())
        return refused(fault);
    return {content, note};
}

QByteArray encodeTeds(const TedsContent& content, QByteArray image)
{
    QByteArray stream = tedsmemory::dataStream(image);
    int pos = 0;
    for (const TedsField& field : content.fields) {
        tedsbits::put(stream, pos, field.layout->bits, field.raw);
        pos += field.layout->bits;
    }
    tedsmemory::storeStream(image, stream, tedsmemory::pagesFor(pos));
    return image;
}

TedsContent bridgeSensorContent()
{
    TedsContent content;
    for (const TedsFieldLayout& layout : BasicTedsLayout())
        content.fields.append({&layout, 0});
    content.fields.append({&SelectorField(), tedslayout::StandardTemplate});
    content.fields.append({&TemplateIdField(), tedslayout::BridgeTemplateId});
    for (const TedsFieldLayout& layout : BridgeTemplateLayout())
        content.fields.append(
            {&layout, std::strcmp(layout.key, tedslayout::ElecPrecisionKey) == 0 ? tedslayout::FullPrecision : 0});
    content.fields.append({&SelectorField(), tedslayout::NoTemplate});
    content.fields.append({&EndSelectorField(), 0});
    return content;
}
