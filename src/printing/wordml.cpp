#include "printing/wordml.h"

#include "printing/xml_util.h"

#include <cstring>
#include <vector>

namespace printing::wordml {

pugi::xml_node ancestorOrSelf(pugi::xml_node node, const char* name)
{
    for (; node && node.type() == pugi::node_element; node = node.parent())
        if (is(node, name))
            return node;
    return {};
}

void forEachElement(pugi::xml_node root, const std::function<bool(pugi::xml_node)>& visit)
{
    // Iterative pre-order walk; documents nest deeply enough (tables in tables) to avoid recursion.
    std::vector<pugi::xml_node> stack;
    for (pugi::xml_node child = root.last_child(); child; child = child.previous_sibling())
        if (child.type() == pugi::node_element)
            stack.push_back(child);
    while (!stack.empty()) {
        const pugi::xml_node node = stack.back();
        stack.pop_back();
        if (!visit(node))
            continue;
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling())
            if (child.type() == pugi::node_element)
                stack.push_back(child);
    }
}

pugi::xml_node findBookmarkStart(pugi::xml_node body, const QString& name)
{
    pugi::xml_node exact;
    pugi::xml_node caseless;
    const QByteArray utf8 = name.toUtf8();
    forEachElement(body, [&](pugi::xml_node node) {
        if (exact)
            return false;
        if (is(node, "w:bookmarkStart")) {
            const char* value = node.attribute("w:name").value();
            if (utf8 == value)
                exact = node;
            else if (!caseless && QString::fromUtf8(value).compare(name, Qt::CaseInsensitive) == 0)
                caseless = node;
        }
        return true;
    });
    return exact ? exact : caseless;
}

pugi::xml_node findBookmarkEnd(pugi::xml_node body, const pugi::xml_node& start)
{
    const QByteArray id = start.attribute("w:id").value();
    pugi::xml_node end;
    forEachElement(body, [&](pugi::xml_node node) {
        if (end)
            return false;
        if (is(node, "w:bookmarkEnd") && id == node.attribute("w:id").value())
            end = node;
        return true;
    });
    return end;
}

void setRunText(pugi::xml_node textNode, const QString& text)
{
    textNode.text().set(text.toUtf8().constData());
    if (!textNode.attribute("xml:space"))
        textNode.append_attribute("xml:space") = "preserve";
}

namespace {

pugi::xml_node insertAfter(pugi::xml_node run, pugi::xml_node after, const char* name)
{
    return after ? run.insert_child_after(name, after) : run.append_child(name);
}

} // namespace

pugi::xml_node writeValue(pugi::xml_node run, pugi::xml_node after, const QString& value)
{
    QString pending;
    auto flushText = [&] {
        if (pending.isEmpty())
            return;
        after = insertAfter(run, after, "w:t");
        setRunText(after, pending);
        pending.clear();
    };
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\r' || c == u'\n') {
            flushText();
            after = insertAfter(run, after, "w:br");
            if (c == u'\r' && i + 1 < value.size() && value.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\t') {
            flushText();
            after = insertAfter(run, after, "w:tab");
        } else {
            pending.append(c);
        }
    }
    flushText();
    return after;
}

} // namespace printing::wordml
