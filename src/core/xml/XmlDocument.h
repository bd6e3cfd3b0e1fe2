#pragma once
#include <QString>
#include <memory>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

// A non-owning handle of one element of an XmlDocument; valid while its document lives.
class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(_xmlNode* node) : node_(node) {}

    bool isNull() const { return node_ == nullptr; }
    explicit operator bool() const { return node_ != nullptr; }
    bool operator==(const XmlNode& other) const { return node_ == other.node_; }
    _xmlNode* raw() const { return node_; }

    QString name() const;
    bool nameIs(const char* name) const;
    // Whether the element's text equals the UTF-8 text, without copying it.
    bool textEquals(const QByteArray& utf8) const;
    // Text content of the element and all its descendants.
    QString text() const;
    void setText(const QString& text);

    // First element child with this name, or a null node.
    XmlNode child(const char* name) const;
    // Text of the named child; hasChild tells "missing" from "empty".
    QString childText(const char* name) const;
    bool hasChild(const char* name) const { return !child(name).isNull(); }
    std::vector<XmlNode> elementChildren() const;
    XmlNode firstElementChild() const;
    XmlNode nextElementSibling() const;
    XmlNode parent() const;

    // XPath 1.0 relative to this node.
    XmlNode selectSingle(const QString& xpath) const;
    std::vector<XmlNode> selectAll(const QString& xpath) const;

    // Appends a new element; a null node when the name is not a valid XML name.
    XmlNode appendElement(const QString& name);

    bool hasAttribute(const char* name) const;
    QString attribute(const char* name) const;
    void setAttribute(const char* name, const QString& value);
    void removeAttribute(const char* name);

private:
    _xmlNode* node_ = nullptr;
};

// An owned libxml2 document, optionally bound to an XML Schema that validates it on load.
class XmlDocument {
public:
    XmlDocument();  // empty document: no document element
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Parses the file (no network, no external entities) and validates it against the
    // schema when schemaPath is not empty. On failure the document stays empty and
    // *reason holds the parser's or validator's reason; a non-empty reason means
    // the parser reported an error.
    bool load(const QString& path, const QString& schemaPath, QString* reason);
    bool loadFromMemory(const QByteArray& xml, QString* reason);
    // Validates against the bound schema (no schema: valid); *reason on failure.
    bool validate(QString* reason) const;
    // Replaces the file whole or not at all; false, with the old file kept, on failure.
    bool save(const QString& path) const;
    QByteArray toBytes() const;

    const QString& schemaPath() const { return schemaPath_; }
    void setSchemaPath(const QString& path) { schemaPath_ = path; }

    XmlNode documentElement() const;
    // Creates (or replaces) the document element.
    XmlNode createDocumentElement(const QString& name);

private:
    // Takes a parsed document in place of the current one; false for none.
    bool adopt(_xmlDoc* parsed);

    _xmlDoc* doc_;
    QString schemaPath_;
};

// Text of an XML Schema validation or parse error, one line, as libxml2 reports it.
QString xmlErrorText(const void* xmlErrorStruct);
