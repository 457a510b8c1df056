#pragma once

#include <QString>

#include <pugixml.hpp>

#include <cstring>
#include <functional>

// Small helpers over WordprocessingML nodes shared by the document classes.
namespace printing::wordml {

inline bool is(const pugi::xml_node& node, const char* name)
{
    return std::strcmp(node.name(), name) == 0;
}

// The nearest ancestor (or the node itself) with this element name, or an empty node.
pugi::xml_node ancestorOrSelf(pugi::xml_node node, const char* name);

// Calls `visit` for every element below `root` in document order; `visit` returns false to skip
// the element's children.
void forEachElement(pugi::xml_node root, const std::function<bool(pugi::xml_node)>& visit);

// The w:bookmarkStart named `name` (exact, else ignoring letter case), or an empty node.
pugi::xml_node findBookmarkStart(pugi::xml_node body, const QString& name);
// The w:bookmarkEnd with the same w:id as `start`, or an empty node.
pugi::xml_node findBookmarkEnd(pugi::xml_node body, const pugi::xml_node& start);

// Writes `value` into the run `run` after its child `after` (or at the end when `after` is empty):
// text as w:t with xml:space="preserve", line breaks as w:br, tabs as w:tab. Returns the last node
// written, so that more content can follow it.
pugi::xml_node writeValue(pugi::xml_node run, pugi::xml_node after, const QString& value);

// Sets the text of a w:t, keeping leading and trailing spaces.
void setRunText(pugi::xml_node textNode, const QString& text);

} // namespace printing::wordml
