#include "printing/text_replacer.h"

#include "printing/wordml.h"
#include "printing/xml_util.h"

#include <algorithm>

namespace printing {

QString foldCaseKeepingLength(const QString& text)
{
    QString folded(text);
    for (QChar& c : folded)
        if (!c.isSurrogate())
            c = QChar(static_cast<char16_t>(QChar::toCaseFolded(c.unicode())));
    return folded;
}

// The text of one paragraph and where each piece of it lives.
class TextReplacer::ParagraphText
{
public:
    struct Segment
    {
        pugi::xml_node node; // the w:t, or empty for a tab or break that no match may cross
        qsizetype start;
        qsizetype length;
    };

    explicit ParagraphText(pugi::xml_node paragraph) { collect(paragraph); }

    const QString& text() const { return m_text; }
    const std::vector<Segment>& segments() const { return m_segments; }

    // The index of the segment holding the character at `position`.
    size_t segmentAt(qsizetype position) const
    {
        auto it = std::upper_bound(m_segments.begin(), m_segments.end(), position,
                                   [](qsizetype p, const Segment& s) { return p < s.start; });
        return static_cast<size_t>(it - m_segments.begin()) - 1;
    }

private:
    void collect(pugi::xml_node paragraph)
    {
        wordml::forEachElement(paragraph, [this](pugi::xml_node node) {
            if (wordml::is(node, "w:p") || wordml::is(node, "w:pPr") || wordml::is(node, "w:rPr"))
                return false; // nested paragraphs are visited on their own
            if (wordml::is(node, "w:t")) {
                add(node, QString::fromUtf8(node.text().get()));
                return false;
            }
            if (wordml::is(node, "w:tab") || wordml::is(node, "w:br") || wordml::is(node, "w:cr"))
                add({}, QStringLiteral("\n"));
            return true;
        });
    }
    void add(pugi::xml_node node, const QString& text)
    {
        if (text.isEmpty())
            return;
        m_segments.push_back({node, m_text.size(), text.size()});
        m_text += text;
    }

    QString m_text;
    std::vector<Segment> m_segments;
};

TextReplacer::TextReplacer(const Replacements& replacements)
{
    for (const auto& [find, value] : replacements) {
        if (find.isEmpty())
            continue;
        const QString folded = foldCaseKeepingLength(find);
        if (m_index.contains(folded))
            continue;
        m_index.insert(folded, static_cast<int>(m_patterns.size()));
        m_patterns.push_back({folded, xml::stripForbiddenCharacters(value)});
        if (std::find(m_lengths.begin(), m_lengths.end(), folded.size()) == m_lengths.end())
            m_lengths.push_back(folded.size());
        if (!m_firstCharacters.contains(folded.front()))
            m_firstCharacters.append(folded.front());
    }
    std::sort(m_lengths.begin(), m_lengths.end(), std::greater<>());
}

std::vector<TextReplacer::Match> TextReplacer::findMatches(const QString& foldedText) const
{
    std::vector<Match> matches;
    const qsizetype size = foldedText.size();
    for (qsizetype i = 0; i < size;) {
        bool matched = false;
        if (m_firstCharacters.contains(foldedText.at(i))) {
            for (const qsizetype length : m_lengths) {
                if (i + length > size)
                    continue;
                const auto found = m_index.constFind(foldedText.mid(i, length));
                if (found != m_index.constEnd()) {
                    matches.push_back({i, i + length, found.value()});
                    i += length;
                    matched = true;
                    break;
                }
            }
        }
        if (!matched)
            ++i;
    }
    return matches;
}

int TextReplacer::replaceIn(pugi::xml_node root) const
{
    if (m_patterns.empty())
        return 0;
    std::vector<pugi::xml_node> paragraphs;
    wordml::forEachElement(root, [&](pugi::xml_node node) {
        if (wordml::is(node, "w:p"))
            paragraphs.push_back(node);
        return !wordml::is(node, "w:pPr") && !wordml::is(node, "w:rPr") && !wordml::is(node, "w:tblPr")
            && !wordml::is(node, "w:tcPr") && !wordml::is(node, "w:trPr") && !wordml::is(node, "w:sectPr");
    });
    int count = 0;
    for (const pugi::xml_node& paragraph : paragraphs)
        count += replaceInParagraph(paragraph);
    return count;
}

int TextReplacer::replaceInParagraph(pugi::xml_node paragraph) const
{
    const ParagraphText paragraphText(paragraph);
    if (paragraphText.text().isEmpty())
        return 0;
    const std::vector<Match> matches = findMatches(foldCaseKeepingLength(paragraphText.text()));
    const auto& segments = paragraphText.segments();

    // From the last match back, so that the positions of earlier matches stay valid.
    for (auto match = matches.rbegin(); match != matches.rend(); ++match) {
        const size_t first = paragraphText.segmentAt(match->start);
        const size_t last = paragraphText.segmentAt(match->end - 1);
        pugi::xml_node startNode = segments[first].node;
        pugi::xml_node endNode = segments[last].node;
        if (!startNode || !endNode)
            continue; // a find text with a tab or break in it never matches across one
        const QString startText = QString::fromUtf8(startNode.text().get());
        const QString endText = first == last ? startText : QString::fromUtf8(endNode.text().get());
        const QString prefix = startText.left(match->start - segments[first].start);
        const QString suffix = endText.mid(match->end - segments[last].start);

        for (size_t between = first + 1; between < last; ++between)
            if (segments[between].node)
                wordml::setRunText(segments[between].node, QString());
        if (first != last)
            wordml::setRunText(endNode, suffix);

        const QString& value = m_patterns[static_cast<size_t>(match->pattern)].value;
        const bool plain = !value.contains(u'\n') && !value.contains(u'\r') && !value.contains(u'\t');
        if (plain) {
            wordml::setRunText(startNode, prefix + value + (first == last ? suffix : QString()));
            continue;
        }
        // A value with breaks or tabs: the start node keeps the prefix, the value follows it in
        // the same run, and the rest of the start node moves behind the value.
        wordml::setRunText(startNode, prefix);
        pugi::xml_node run = startNode.parent();
        pugi::xml_node lastWritten = wordml::writeValue(run, startNode, value);
        if (first == last && !suffix.isEmpty())
            wordml::setRunText(run.insert_child_after("w:t", lastWritten), suffix);
    }
    return static_cast<int>(matches.size());
}

} // namespace printing
