#pragma once
#include "support/QStringPrint.h"
#include "model/Descriptions.h"

#include <QByteArray>
#include <memory>

// Small description documents written in the test itself, built in memory without
// the schema so that a test can also hold what the schema would refuse.
namespace descr {

// <kind><Name>name</Name>children</kind>
QByteArray member(const char* kind, const char* name, const QByteArray& children = {});
// A named group holding the members.
QByteArray group(const char* name, const QByteArray& members);
// <Description> with the texts given (an empty text leaves its language out).
QByteArray texts(const char* fr, const char* en, const char* de = "");
// <Enumeration> of (code, description fr, description en, value) items.
struct Item {
    int code;
    const char* fr;
    const char* en;
    const char* value = "";
};
QByteArray enumeration(std::initializer_list<Item> items);

// The whole document around the members of the root group.
QByteArray document(const QByteArray& rootMembers);
std::unique_ptr<Description> make(const QByteArray& rootMembers);

}  // namespace descr
