#pragma once

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

namespace printing::xml {

// Parses a part; throws app::AppError naming `partName` when it is not well-formed XML.
void load(pugi::xml_document& document, const QByteArray& bytes, const QString& partName);
// Serialises without reformatting, so text in w:t and cell values keep their exact spacing.
QByteArray save(const pugi::xml_document& document);

inline QString text(const pugi::char_t* value)
{
    return QString::fromUtf8(value);
}
inline QByteArray utf8(const QString& value)
{
    return value.toUtf8();
}

// The value of an attribute, or an empty text.
inline QString attribute(const pugi::xml_node& node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

// Sets an attribute, adding it when missing.
void setAttribute(pugi::xml_node node, const char* name, const QString& value);

// Removes characters that XML 1.0 cannot carry (control characters other than tab, line feed and
// carriage return; unpaired surrogates; U+FFFE and U+FFFF).
QString stripForbiddenCharacters(const QString& value);

} // namespace printing::xml
