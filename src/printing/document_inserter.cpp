#include "printing/document_inserter.h"

#include "printing/docx_document.h"
#include "printing/wordml.h"
#include "printing/xml_util.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace printing {

namespace {

constexpr const char* kStylesRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
constexpr const char* kNumberingRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering";
constexpr const char* kRelationshipsNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kNumberingContentType = "application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml";

QString folderOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash + 1);
}

// A target written relative to the folder of `sourcePart`, or absolute when it lies elsewhere.
QString relativeTarget(const QString& sourcePart, const QString& targetPart)
{
    const QString folder = folderOf(sourcePart);
    if (targetPart.startsWith(folder))
        return targetPart.mid(folder.size());
    return QLatin1Char('/') + targetPart;
}

int intAttribute(const pugi::xml_node& node, const char* name)
{
    return node.attribute(name).as_int();
}

void offsetAttribute(pugi::xml_node node, const char* name, int offset)
{
    pugi::xml_attribute attribute = node.attribute(name);
    if (attribute)
        attribute.set_value(attribute.as_int() + offset);
}

bool isImageExtension(const QString& extension)
{
    static const QStringList images{QStringLiteral("png"), QStringLiteral("jpeg"), QStringLiteral("jpg"),
                                    QStringLiteral("gif"), QStringLiteral("bmp"), QStringLiteral("tif"),
                                    QStringLiteral("tiff"), QStringLiteral("emf"), QStringLiteral("wmf"),
                                    QStringLiteral("svg")};
    return images.contains(extension.toLower());
}

const char* localName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

} // namespace

DocumentInserter::DocumentInserter(DocxDocument& target, DocxDocument& source)
    : m_target(target)
    , m_source(source)
{
}

bool DocumentInserter::loadPart(XmlPart& part, const DocxDocument& document, const char* relationshipType)
{
    if (part.loaded)
        return true;
    for (const Relationship& relationship : document.package().relationships(document.mainPart()))
        if (!relationship.external && relationship.type == QLatin1String(relationshipType)) {
            part.name = OoxmlPackage::resolveTarget(document.mainPart(), relationship.target);
            if (!document.package().hasPart(part.name))
                return false;
            xml::load(part.xml, document.package().part(part.name), part.name);
            part.loaded = true;
            return true;
        }
    return false;
}

void DocumentInserter::storePart(XmlPart& part, DocxDocument& document)
{
    if (part.loaded)
        document.package().setPart(part.name, xml::save(part.xml));
}

void DocumentInserter::insertAt(pugi::xml_node bookmarkStart)
{
    loadPart(m_sourceStyles, m_source, kStylesRel);
    loadPart(m_targetStyles, m_target, kStylesRel);
    loadPart(m_sourceNumbering, m_source, kNumberingRel);
    for (pugi::xml_attribute attribute : m_source.xml().document_element().attributes())
        if (QString::fromUtf8(attribute.value()) == QLatin1String(kRelationshipsNamespace)
            && QByteArray(attribute.name()).startsWith("xmlns:"))
            m_relationshipPrefix = QString::fromUtf8(attribute.name()).mid(6);

    declareSourceNamespaces();
    mergeNumbering();
    const std::vector<pugi::xml_node> blocks = copyBlocks(bookmarkStart);
    dropForeignReferences(blocks);
    carrySourceDefaults(blocks);
    renumberBookmarks(blocks);
    renumberDrawings(blocks);
    for (const pugi::xml_node& block : blocks) {
        remapStyleReferences(block);
        remapNumberingReferences(block);
        remapRelationships(block);
    }
    storePart(m_targetStyles, m_target);
    storePart(m_targetNumbering, m_target);
}

std::vector<pugi::xml_node> DocumentInserter::copyBlocks(pugi::xml_node bookmarkStart)
{
    pugi::xml_node host = wordml::ancestorOrSelf(bookmarkStart, "w:p");
    bool textBefore = false;
    if (host) {
        bool reached = false;
        wordml::forEachElement(host, [&](pugi::xml_node node) {
            if (node == bookmarkStart)
                reached = true;
            else if (!reached && wordml::is(node, "w:t") && node.text().get()[0] != '\0')
                textBefore = true;
            return true;
        });
    }
    pugi::xml_node container = host ? host.parent() : bookmarkStart.parent();
    pugi::xml_node before = host ? (textBefore ? host.next_sibling() : host) : bookmarkStart;

    std::vector<pugi::xml_node> blocks;
    for (pugi::xml_node block : m_source.body().children()) {
        if (block.type() != pugi::node_element || wordml::is(block, "w:sectPr"))
            continue;
        pugi::xml_node copy = before ? container.insert_copy_before(block, before) : container.append_copy(block);
        blocks.push_back(copy);
    }
    for (pugi::xml_node& block : blocks) {
        std::vector<pugi::xml_node> sections;
        wordml::forEachElement(block, [&](pugi::xml_node node) {
            if (wordml::is(node, "w:sectPr"))
                sections.push_back(node);
            return true;
        });
        for (pugi::xml_node& section : sections)
            section.parent().remove_child(section);
    }
    // A table cell has to end with a paragraph.
    if (!blocks.empty() && wordml::is(blocks.back(), "w:tbl") && wordml::is(container, "w:tc")
        && !blocks.back().next_sibling("w:p"))
        container.insert_child_after("w:p", blocks.back());
    return blocks;
}

void DocumentInserter::declareSourceNamespaces()
{
    pugi::xml_node targetRoot = m_target.xml().document_element();
    const pugi::xml_node sourceRoot = m_source.xml().document_element();
    for (pugi::xml_attribute attribute : sourceRoot.attributes()) {
        const QByteArray name = attribute.name();
        if (name.startsWith("xmlns") && !targetRoot.attribute(name.constData()))
            targetRoot.append_attribute(name.constData()) = attribute.value();
    }
    const QStringList sourceIgnorable = QString::fromUtf8(sourceRoot.attribute("mc:Ignorable").value()).split(u' ', Qt::SkipEmptyParts);
    if (sourceIgnorable.isEmpty())
        return;
    QStringList ignorable = QString::fromUtf8(targetRoot.attribute("mc:Ignorable").value()).split(u' ', Qt::SkipEmptyParts);
    for (const QString& prefix : sourceIgnorable)
        if (!ignorable.contains(prefix) && targetRoot.attribute(("xmlns:" + prefix).toUtf8().constData()))
            ignorable << prefix;
    xml::setAttribute(targetRoot, "mc:Ignorable", ignorable.join(u' '));
}

// --- numbering ------------------------------------------------------------------------------

void DocumentInserter::mergeNumbering()
{
    if (!m_sourceNumbering.loaded)
        return;
    if (!loadPart(m_targetNumbering, m_target, kNumberingRel)) {
        m_targetNumbering.name = QStringLiteral("word/numbering.xml");
        pugi::xml_node declaration = m_targetNumbering.xml.append_child(pugi::node_declaration);
        declaration.append_attribute("version") = "1.0";
        declaration.append_attribute("encoding") = "UTF-8";
        declaration.append_attribute("standalone") = "yes";
        pugi::xml_node root = m_targetNumbering.xml.append_child("w:numbering");
        for (pugi::xml_attribute attribute : m_sourceNumbering.xml.document_element().attributes())
            if (QByteArray(attribute.name()).startsWith("xmlns"))
                root.append_attribute(attribute.name()) = attribute.value();
        m_targetNumbering.loaded = true;
        m_target.package().setOverrideContentType(m_targetNumbering.name, QString::fromLatin1(kNumberingContentType));
        m_target.package().addRelationship(m_target.mainPart(), QString::fromLatin1(kNumberingRel),
                                           relativeTarget(m_target.mainPart(), m_targetNumbering.name));
    }
    pugi::xml_node target = m_targetNumbering.xml.document_element();
    const pugi::xml_node source = m_sourceNumbering.xml.document_element();

    int maxAbstract = -1;
    int maxNum = 0;
    for (pugi::xml_node node : target.children("w:abstractNum"))
        maxAbstract = std::max(maxAbstract, intAttribute(node, "w:abstractNumId"));
    for (pugi::xml_node node : target.children("w:num"))
        maxNum = std::max(maxNum, intAttribute(node, "w:numId"));
    int minSourceAbstract = 0;
    for (pugi::xml_node node : source.children("w:abstractNum"))
        minSourceAbstract = std::min(minSourceAbstract, intAttribute(node, "w:abstractNumId"));
    m_abstractNumIdOffset = maxAbstract + 1 - minSourceAbstract;
    m_numIdOffset = maxNum;

    // Every abstractNum comes before every num: new abstractNums go after the last one present,
    // else before the first num; new nums go after the last num.
    pugi::xml_node lastAbstract;
    for (pugi::xml_node node : target.children("w:abstractNum"))
        lastAbstract = node;
    pugi::xml_node firstNum = target.child("w:num");
    pugi::xml_node lastNum;
    for (pugi::xml_node node : target.children("w:num"))
        lastNum = node;
    pugi::xml_node cleanup = target.child("w:numIdMacAtCleanup");

    std::vector<pugi::xml_node> copiedAbstracts;
    for (pugi::xml_node node : source.children("w:abstractNum")) {
        pugi::xml_node copy = lastAbstract ? target.insert_copy_after(node, lastAbstract)
                              : firstNum   ? target.insert_copy_before(node, firstNum)
                              : cleanup    ? target.insert_copy_before(node, cleanup)
                                           : target.append_copy(node);
        offsetAttribute(copy, "w:abstractNumId", m_abstractNumIdOffset);
        copy.remove_child("w:nsid"); // a shared list id would make Word join the lists
        lastAbstract = copy;
        copiedAbstracts.push_back(copy);
    }
    for (pugi::xml_node node : source.children("w:num")) {
        pugi::xml_node copy = lastNum ? target.insert_copy_after(node, lastNum)
                              : cleanup ? target.insert_copy_before(node, cleanup)
                                        : target.append_copy(node);
        offsetAttribute(copy, "w:numId", m_numIdOffset);
        offsetAttribute(copy.child("w:abstractNumId"), "w:val", m_abstractNumIdOffset);
        lastNum = copy;
    }
    // Styles named inside the copied lists.
    for (pugi::xml_node& node : copiedAbstracts)
        remapStyleReferences(node);
}

void DocumentInserter::remapNumberingReferences(pugi::xml_node root)
{
    if (m_numIdOffset == 0 && m_abstractNumIdOffset == 0)
        return;
    wordml::forEachElement(root, [&](pugi::xml_node node) {
        if (wordml::is(node, "w:numId")) {
            pugi::xml_attribute value = node.attribute("w:val");
            if (value && value.as_int() != 0) // 0 switches numbering off
                value.set_value(value.as_int() + m_numIdOffset);
        }
        return true;
    });
}

// --- styles ---------------------------------------------------------------------------------

QString DocumentInserter::mapStyle(const QString& sourceId)
{
    const auto known = m_styleIds.constFind(sourceId);
    if (known != m_styleIds.constEnd())
        return known.value();
    if (!m_sourceStyles.loaded || !m_targetStyles.loaded) {
        m_styleIds.insert(sourceId, sourceId);
        return sourceId;
    }
    pugi::xml_node sourceStyle;
    for (pugi::xml_node style : m_sourceStyles.xml.document_element().children("w:style"))
        if (xml::attribute(style, "w:styleId") == sourceId)
            sourceStyle = style;
    if (!sourceStyle) {
        m_styleIds.insert(sourceId, QString());
        return {};
    }
    const QString name = xml::attribute(sourceStyle.child("w:name"), "w:val");
    const QString type = xml::attribute(sourceStyle, "w:type");
    pugi::xml_node targetRoot = m_targetStyles.xml.document_element();
    QSet<QString> targetIds;
    for (pugi::xml_node style : targetRoot.children("w:style")) {
        const QString id = xml::attribute(style, "w:styleId");
        targetIds.insert(id);
        if (!name.isEmpty() && xml::attribute(style, "w:type") == type
            && xml::attribute(style.child("w:name"), "w:val").compare(name, Qt::CaseInsensitive) == 0) {
            m_styleIds.insert(sourceId, id);
            return id;
        }
    }
    QString newId = sourceId;
    for (int n = 2; targetIds.contains(newId); ++n)
        newId = sourceId + QString::number(n);
    m_styleIds.insert(sourceId, newId);
    pugi::xml_node copy = targetRoot.append_copy(sourceStyle);
    xml::setAttribute(copy, "w:styleId", newId);
    copy.remove_attribute("w:default"); // the target keeps its own defaults
    remapStyleReferences(copy);
    remapNumberingReferences(copy);
    return newId;
}

void DocumentInserter::remapStyleReferences(pugi::xml_node root)
{
    static const char* const referencing[] = {"w:pStyle", "w:rStyle", "w:tblStyle", "w:basedOn", "w:next",
                                              "w:link", "w:numStyleLink", "w:styleLink"};
    std::vector<pugi::xml_node> dangling;
    wordml::forEachElement(root, [&](pugi::xml_node node) {
        for (const char* name : referencing)
            if (wordml::is(node, name)) {
                const QString mapped = mapStyle(xml::attribute(node, "w:val"));
                if (mapped.isEmpty())
                    dangling.push_back(node);
                else
                    xml::setAttribute(node, "w:val", mapped);
            }
        return true;
    });
    for (pugi::xml_node& node : dangling)
        node.parent().remove_child(node);
}

// --- ids ------------------------------------------------------------------------------------

void DocumentInserter::renumberBookmarks(const std::vector<pugi::xml_node>& blocks)
{
    QSet<const void*> inserted;
    for (const pugi::xml_node& block : blocks)
        inserted.insert(block.internal_object());
    QSet<QString> targetNames;
    int maxId = -1;
    wordml::forEachElement(m_target.body(), [&](pugi::xml_node node) {
        if (inserted.contains(node.internal_object()))
            return false;
        if (wordml::is(node, "w:bookmarkStart"))
            targetNames.insert(xml::attribute(node, "w:name"));
        if (wordml::is(node, "w:bookmarkStart") || wordml::is(node, "w:bookmarkEnd"))
            maxId = std::max(maxId, intAttribute(node, "w:id"));
        return true;
    });

    std::vector<pugi::xml_node> starts;
    std::vector<pugi::xml_node> ends;
    for (const pugi::xml_node& block : blocks) {
        if (wordml::is(block, "w:bookmarkStart"))
            starts.push_back(block);
        if (wordml::is(block, "w:bookmarkEnd"))
            ends.push_back(block);
        wordml::forEachElement(block, [&](pugi::xml_node node) {
            if (wordml::is(node, "w:bookmarkStart"))
                starts.push_back(node);
            else if (wordml::is(node, "w:bookmarkEnd"))
                ends.push_back(node);
            return true;
        });
    }
    QHash<QString, QString> newIds; // old id -> new id, empty when dropped
    int next = maxId + 1;
    for (pugi::xml_node& start : starts) {
        const QString oldId = xml::attribute(start, "w:id");
        if (targetNames.contains(xml::attribute(start, "w:name"))) {
            newIds.insert(oldId, QString());
            start.parent().remove_child(start);
            continue;
        }
        const QString newId = QString::number(next++);
        newIds.insert(oldId, newId);
        xml::setAttribute(start, "w:id", newId);
    }
    for (pugi::xml_node& end : ends) {
        const QString newId = newIds.value(xml::attribute(end, "w:id"));
        if (newId.isEmpty())
            end.parent().remove_child(end);
        else
            xml::setAttribute(end, "w:id", newId);
    }
}

void DocumentInserter::renumberDrawings(const std::vector<pugi::xml_node>& blocks)
{
    auto isDrawingId = [](const pugi::xml_node& node) {
        const char* name = localName(node.name());
        return (std::strcmp(name, "docPr") == 0 || std::strcmp(name, "cNvPr") == 0) && node.attribute("id");
    };
    QSet<const void*> inserted;
    for (const pugi::xml_node& block : blocks)
        inserted.insert(block.internal_object());
    unsigned maxId = 0;
    wordml::forEachElement(m_target.body(), [&](pugi::xml_node node) {
        if (inserted.contains(node.internal_object()))
            return false;
        if (isDrawingId(node))
            maxId = std::max(maxId, node.attribute("id").as_uint());
        return true;
    });
    unsigned next = maxId + 1;
    for (const pugi::xml_node& block : blocks)
        wordml::forEachElement(block, [&](pugi::xml_node node) {
            if (isDrawingId(node))
                node.attribute("id").set_value(next++);
            return true;
        });
}

void DocumentInserter::dropForeignReferences(const std::vector<pugi::xml_node>& blocks)
{
    static const char* const foreign[] = {"w:footnoteReference", "w:endnoteReference", "w:commentReference",
                                          "w:commentRangeStart", "w:commentRangeEnd"};
    std::vector<pugi::xml_node> doomed;
    for (const pugi::xml_node& block : blocks)
        wordml::forEachElement(block, [&](pugi::xml_node node) {
            for (const char* name : foreign)
                if (wordml::is(node, name)) {
                    doomed.push_back(node);
                    return false;
                }
            return true;
        });
    for (pugi::xml_node& node : doomed)
        node.parent().remove_child(node);
}

// --- default formatting ---------------------------------------------------------------------

namespace {

// Schema order of the property elements we may add; Word refuses them out of order.
const char* const kParagraphPropertyOrder[] = {
    "w:pStyle", "w:keepNext", "w:keepLines", "w:pageBreakBefore", "w:framePr", "w:widowControl", "w:numPr",
    "w:suppressLineNumbers", "w:pBdr", "w:shd", "w:tabs", "w:suppressAutoHyphens", "w:kinsoku", "w:wordWrap",
    "w:overflowPunct", "w:topLinePunct", "w:autoSpaceDE", "w:autoSpaceDN", "w:bidi", "w:adjustRightInd",
    "w:snapToGrid", "w:spacing", "w:ind", "w:contextualSpacing", "w:mirrorIndents", "w:suppressOverlap", "w:jc",
    "w:textDirection", "w:textAlignment", "w:textboxTightWrap", "w:outlineLvl", "w:divId", "w:cnfStyle", "w:rPr",
    "w:sectPr", "w:pPrChange"};
const char* const kRunPropertyOrder[] = {
    "w:rStyle", "w:rFonts", "w:b", "w:bCs", "w:i", "w:iCs", "w:caps", "w:smallCaps", "w:strike", "w:dstrike",
    "w:outline", "w:shadow", "w:emboss", "w:imprint", "w:noProof", "w:snapToGrid", "w:vanish", "w:webHidden",
    "w:color", "w:spacing", "w:w", "w:kern", "w:position", "w:sz", "w:szCs", "w:highlight", "w:u", "w:effect",
    "w:bdr", "w:shd", "w:fitText", "w:vertAlign", "w:rtl", "w:cs", "w:em", "w:lang", "w:eastAsianLayout",
    "w:specVanish", "w:oMath"};

template <size_t N>
int rank(const char* const (&order)[N], const char* name)
{
    for (size_t i = 0; i < N; ++i)
        if (std::strcmp(order[i], name) == 0)
            return static_cast<int>(i);
    return static_cast<int>(N);
}

// Gives the owner's `propertiesName` element (w:pPr or w:rPr) a copy of each child of `defaults`
// that it lacks, each at its place in schema order.
template <size_t N>
void addMissing(pugi::xml_node owner, const char* propertiesName, const pugi::xml_node& defaults,
                const char* const (&order)[N])
{
    if (!defaults.first_child())
        return;
    pugi::xml_node properties = owner.child(propertiesName);
    for (pugi::xml_node item : defaults.children()) {
        if (properties && properties.child(item.name()))
            continue;
        if (!properties)
            properties = owner.prepend_child(propertiesName);
        pugi::xml_node before = properties.first_child();
        while (before && rank(order, before.name()) <= rank(order, item.name()))
            before = before.next_sibling();
        if (before)
            properties.insert_copy_before(item, before);
        else
            properties.append_copy(item);
    }
}

} // namespace

namespace {

// What plain text of a document looks like: the document defaults for font, size and line
// spacing, overridden by the default paragraph style.
struct PlainTextLook
{
    explicit PlainTextLook(const pugi::xml_node& stylesRoot)
    {
        pugi::xml_node normal;
        for (pugi::xml_node style : stylesRoot.children("w:style"))
            if (xml::attribute(style, "w:type") == QLatin1String("paragraph") && style.attribute("w:default").as_bool())
                normal = style;
        normalStyleId = xml::attribute(normal, "w:styleId");
        run = holder.append_child("w:rPr");
        paragraph = holder.append_child("w:pPr");
        const pugi::xml_node defaults = stylesRoot.child("w:docDefaults");
        for (const char* name : {"w:rFonts", "w:sz", "w:szCs"})
            copyFirst(run, normal.child("w:rPr").child(name), defaults.child("w:rPrDefault").child("w:rPr").child(name));
        copyFirst(paragraph, normal.child("w:pPr").child("w:spacing"),
                  defaults.child("w:pPrDefault").child("w:pPr").child("w:spacing"));
    }
    static void copyFirst(pugi::xml_node target, const pugi::xml_node& preferred, const pugi::xml_node& fallback)
    {
        if (preferred)
            target.append_copy(preferred);
        else if (fallback)
            target.append_copy(fallback);
    }

    pugi::xml_document holder;
    pugi::xml_node run;
    pugi::xml_node paragraph;
    QString normalStyleId;
};

} // namespace

void DocumentInserter::carrySourceDefaults(const std::vector<pugi::xml_node>& blocks)
{
    if (!m_sourceStyles.loaded)
        return;
    const PlainTextLook look(m_sourceStyles.xml.document_element());
    const QString& normalId = look.normalStyleId;
    const pugi::xml_node& paragraphProperties = look.paragraph;
    const pugi::xml_node& runProperties = look.run;

    // Only plain paragraphs and runs: a style of their own decides for the others.
    auto isPlain = [&](const pugi::xml_node& paragraph) {
        const pugi::xml_node style = paragraph.child("w:pPr").child("w:pStyle");
        return !style || xml::attribute(style, "w:val") == normalId;
    };
    auto carryInto = [&](pugi::xml_node paragraph) {
        if (!isPlain(paragraph))
            return;
        addMissing(paragraph, "w:pPr", paragraphProperties, kParagraphPropertyOrder);
        wordml::forEachElement(paragraph, [&](pugi::xml_node inner) {
            if (wordml::is(inner, "w:p"))
                return false;
            if (wordml::is(inner, "w:r") && !inner.child("w:rPr").child("w:rStyle"))
                addMissing(inner, "w:rPr", runProperties, kRunPropertyOrder);
            return !wordml::is(inner, "w:r");
        });
    };
    for (const pugi::xml_node& block : blocks) {
        if (wordml::is(block, "w:p"))
            carryInto(block);
        wordml::forEachElement(block, [&](pugi::xml_node node) {
            if (wordml::is(node, "w:p"))
                carryInto(node);
            return true;
        });
    }
}

// --- related parts --------------------------------------------------------------------------

void DocumentInserter::remapRelationships(pugi::xml_node root)
{
    const QByteArray prefix = (m_relationshipPrefix + QLatin1Char(':')).toUtf8();
    wordml::forEachElement(root, [&](pugi::xml_node node) {
        for (pugi::xml_attribute attribute : node.attributes())
            if (QByteArray(attribute.name()).startsWith(prefix)) {
                const QString mapped = copyRelationship(QString::fromUtf8(attribute.value()));
                if (!mapped.isEmpty())
                    attribute.set_value(mapped.toUtf8().constData());
            }
        return true;
    });
}

QString DocumentInserter::copyRelationship(const QString& sourceId)
{
    const auto known = m_relationshipIds.constFind(sourceId);
    if (known != m_relationshipIds.constEnd())
        return known.value();
    QString newId;
    for (const Relationship& relationship : m_source.package().relationships(m_source.mainPart())) {
        if (relationship.id != sourceId)
            continue;
        if (relationship.external) {
            newId = m_target.package().addRelationship(m_target.mainPart(), relationship.type, relationship.target, true);
        } else {
            const QString part = OoxmlPackage::resolveTarget(m_source.mainPart(), relationship.target);
            if (m_source.package().hasPart(part)) {
                const QString copied = copyPart(part);
                newId = m_target.package().addRelationship(m_target.mainPart(), relationship.type,
                                                           relativeTarget(m_target.mainPart(), copied));
            }
        }
        break;
    }
    m_relationshipIds.insert(sourceId, newId);
    return newId;
}

QString DocumentInserter::copyPart(const QString& sourcePart)
{
    const auto known = m_copiedParts.constFind(sourcePart);
    if (known != m_copiedParts.constEnd())
        return known.value();
    OoxmlPackage& target = m_target.package();
    const OoxmlPackage& source = m_source.package();
    const QString copied = target.unusedPartName(sourcePart);
    m_copiedParts.insert(sourcePart, copied);
    target.setPart(copied, source.part(sourcePart));

    const QString contentType = source.contentTypeOf(sourcePart);
    const QString extension = QFileInfo(copied).suffix();
    if (!contentType.isEmpty() && target.contentTypeOf(copied) != contentType) {
        if (isImageExtension(extension) && target.contentTypeOf(QStringLiteral("x.") + extension).isEmpty())
            target.setDefaultContentType(extension, contentType);
        else
            target.setOverrideContentType(copied, contentType);
    }
    // The copied part keeps its own relationship ids, so its XML needs no change.
    for (const Relationship& relationship : source.relationships(sourcePart)) {
        QString relationshipTarget = relationship.target;
        if (!relationship.external) {
            const QString inner = OoxmlPackage::resolveTarget(sourcePart, relationship.target);
            if (!source.hasPart(inner))
                continue;
            relationshipTarget = relativeTarget(copied, copyPart(inner));
        }
        target.addRelationship(copied, relationship.type, relationshipTarget, relationship.external, relationship.id);
    }
    return copied;
}

} // namespace printing
