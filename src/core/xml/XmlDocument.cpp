#include "core/xml/XmlDocument.h"

#include "core/SafeFile.h"
#include "core/xml/XmlSchemaCache.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpath.h>

namespace {

const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

QString fromXml(const xmlChar* s)
{
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s)) : QString();
}

QString takeXml(xmlChar* s)
{
    QString result = fromXml(s);
    xmlFree(s);
    return result;
}

bool isElement(const xmlNode* n) { return n && n->type == XML_ELEMENT_NODE; }

bool hasName(const xmlNode* n, const char* name)
{
    return isElement(n) && xmlStrcmp(n->name, X(name)) == 0;
}

// Collects the first error libxml2 reports while it lives, instead of printing it.
class ErrorCollector {
public:
    ErrorCollector() { xmlSetStructuredErrorFunc(this, &ErrorCollector::onError); }
    ~ErrorCollector() { xmlSetStructuredErrorFunc(nullptr, nullptr); }
    QString first;

private:
    static void onError(void* self, xmlErrorPtr error)
    {
        auto* collector = static_cast<ErrorCollector*>(self);
        if (collector->first.isEmpty())
            collector->first = xmlErrorText(error);
    }
};

template <typename Fn>
void forEachXPathNode(xmlNode* context, const QString& xpath, Fn fn)
{
    if (!context)
        return;
    xmlXPathContextPtr ctx = xmlXPathNewContext(context->doc);
    if (!ctx)
        return;
    ctx->node = context;
    const QByteArray expr = xpath.toUtf8();
    xmlXPathObjectPtr result = xmlXPathEvalExpression(X(expr.constData()), ctx);
    if (result && result->nodesetval) {
        for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
            if (!fn(result->nodesetval->nodeTab[i]))
                break;
        }
    }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(ctx);
}

}  // namespace

QString xmlErrorText(const void* xmlErrorStruct)
{
    const auto* error = static_cast<const xmlError*>(xmlErrorStruct);
    if (!error)
        return {};
    QString text = QString::fromUtf8(error->message ? error->message : "").trimmed();
    if (error->line > 0)
        text += QStringLiteral(" (ligne %1)").arg(error->line);
    return text;
}

QString XmlNode::name() const { return node_ ? fromXml(node_->name) : QString(); }

bool XmlNode::nameIs(const char* name) const { return hasName(node_, name); }

bool XmlNode::textEquals(const QByteArray& utf8) const
{
    if (!node_)
        return false;
    const xmlNode* only = node_->children;
    if (!only)
        return utf8.isEmpty();
    if (only->type == XML_TEXT_NODE && !only->next)
        return xmlStrcmp(only->content, X(utf8.constData())) == 0;
    return text().toUtf8() == utf8;  // mixed content: compare the whole text
}

QString XmlNode::text() const { return node_ ? takeXml(xmlNodeGetContent(node_)) : QString(); }

void XmlNode::setText(const QString& text)
{
    if (!node_)
        return;
    const QByteArray utf8 = text.toUtf8();
    xmlNodeSetContent(node_, nullptr);
    xmlAddChild(node_, xmlNewDocTextLen(node_->doc, X(utf8.constData()), utf8.size()));
}

XmlNode XmlNode::child(const char* name) const
{
    for (xmlNode* c = node_ ? node_->children : nullptr; c; c = c->next) {
        if (hasName(c, name))
            return XmlNode(c);
    }
    return {};
}

QString XmlNode::childText(const char* name) const { return child(name).text(); }

std::vector<XmlNode> XmlNode::elementChildren() const
{
    std::vector<XmlNode> result;
    for (XmlNode c = firstElementChild(); c; c = c.nextElementSibling())
        result.push_back(c);
    return result;
}

XmlNode XmlNode::firstElementChild() const
{
    for (xmlNode* c = node_ ? node_->children : nullptr; c; c = c->next) {
        if (isElement(c))
            return XmlNode(c);
    }
    return {};
}

XmlNode XmlNode::nextElementSibling() const
{
    for (xmlNode* c = node_ ? node_->next : nullptr; c; c = c->next) {
        if (isElement(c))
            return XmlNode(c);
    }
    return {};
}

XmlNode XmlNode::parent() const
{
    return node_ && isElement(node_->parent) ? XmlNode(node_->parent) : XmlNode();
}

XmlNode XmlNode::selectSingle(const QString& xpath) const
{
    XmlNode found;
    forEachXPathNode(node_, xpath, [&](xmlNode* n) {
        if (!isElement(n))
            return true;
        found = XmlNode(n);
        return false;
    });
    return found;
}

std::vector<XmlNode> XmlNode::selectAll(const QString& xpath) const
{
    std::vector<XmlNode> found;
    forEachXPathNode(node_, xpath, [&](xmlNode* n) {
        if (isElement(n))
            found.emplace_back(n);
        return true;
    });
    return found;
}

XmlNode XmlNode::appendElement(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    if (!node_ || xmlValidateName(X(utf8.constData()), 0) != 0)
        return {};
    return XmlNode(xmlNewChild(node_, nullptr, X(utf8.constData()), nullptr));
}

bool XmlNode::hasAttribute(const char* name) const
{
    return node_ && xmlHasProp(node_, X(name)) != nullptr;
}

QString XmlNode::attribute(const char* name) const
{
    return node_ ? takeXml(xmlGetProp(node_, X(name))) : QString();
}

void XmlNode::setAttribute(const char* name, const QString& value)
{
    if (node_)
        xmlSetProp(node_, X(name), X(value.toUtf8().constData()));
}

void XmlNode::removeAttribute(const char* name)
{
    if (xmlAttr* attr = node_ ? xmlHasProp(node_, X(name)) : nullptr)
        xmlRemoveProp(attr);
}

XmlDocument::XmlDocument() : doc_(xmlNewDoc(X("1.0"))) {}

XmlDocument::~XmlDocument() { xmlFreeDoc(doc_); }

namespace {

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOWARNING;

// Runs one parse (and, with a schema, the validation) and keeps the first error.
template <typename Read>
xmlDocPtr parse(Read read, const QString& schemaPath, QString* reason)
{
    ErrorCollector errors;
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
        return nullptr;
    xmlDocPtr parsed = read(ctxt);
    xmlFreeParserCtxt(ctxt);
    if (parsed && !schemaPath.isEmpty()) {
        const QString schemaError = XmlSchemaCache::validate(schemaPath, parsed);
        if (!schemaError.isNull()) {
            errors.first = schemaError;
            xmlFreeDoc(parsed);
            parsed = nullptr;
        }
    }
    if (!parsed && reason)
        *reason = errors.first;
    return parsed;
}

}  // namespace

bool XmlDocument::load(const QString& path, const QString& schemaPath, QString* reason)
{
    schemaPath_ = schemaPath;
    const QByteArray file = path.toUtf8();
    return adopt(parse(
        [&](xmlParserCtxtPtr ctxt) { return xmlCtxtReadFile(ctxt, file.constData(), nullptr, kParseOptions); },
        schemaPath, reason));
}

bool XmlDocument::loadFromMemory(const QByteArray& xml, QString* reason)
{
    return adopt(parse(
        [&](xmlParserCtxtPtr ctxt) {
            return xmlCtxtReadMemory(ctxt, xml.constData(), int(xml.size()), nullptr, nullptr, kParseOptions);
        },
        QString(), reason));
}

bool XmlDocument::adopt(_xmlDoc* parsed)
{
    if (!parsed)
        return false;
    xmlFreeDoc(doc_);
    doc_ = parsed;
    return true;
}

bool XmlDocument::validate(QString* reason) const
{
    if (schemaPath_.isEmpty())
        return true;
    const QString error = XmlSchemaCache::validate(schemaPath_, doc_);
    if (reason)
        *reason = error;
    return error.isNull();
}

bool XmlDocument::save(const QString& path) const
{
    // Serialising never gives nothing but on failure; an empty file would lose the old one.
    const QByteArray bytes = toBytes();
    return !bytes.isEmpty() && writeFileSafely(path, bytes);
}

QByteArray XmlDocument::toBytes() const
{
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc_, &buffer, &size, "UTF-8", 0);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), size);
    xmlFree(buffer);
    return bytes;
}

XmlNode XmlDocument::documentElement() const { return XmlNode(xmlDocGetRootElement(doc_)); }

XmlNode XmlDocument::createDocumentElement(const QString& name)
{
    xmlNodePtr root = xmlNewDocNode(doc_, nullptr, X(name.toUtf8().constData()), nullptr);
    xmlNodePtr old = xmlDocSetRootElement(doc_, root);
    xmlFreeNode(old);
    return XmlNode(root);
}
