#pragma once

#include <QHash>
#include <QString>

#include <pugixml.hpp>

#include <utility>
#include <vector>

namespace printing {

// (text to find, text to put in its place) pairs, applied together.
using Replacements = std::vector<std::pair<QString, QString>>;

// Replaces texts in the paragraphs of a WordprocessingML tree in one pass.
//
// Each paragraph's w:t texts are joined with a map back to their nodes, so a text that Word split
// over several runs is still found; the replacement goes into the run where the match starts and
// keeps its formatting. Matching ignores letter case; at each position the longest text wins;
// replaced values are not searched again. When a find text occurs twice in the list, the first
// value wins. Tables and paragraphs nested in text boxes are searched like any other paragraph.
class TextReplacer
{
public:
    explicit TextReplacer(const Replacements& replacements);

    // Returns the number of replacements made.
    int replaceIn(pugi::xml_node root) const;

private:
    struct Pattern
    {
        QString folded;
        QString value;
    };
    struct Match
    {
        qsizetype start;
        qsizetype end;
        int pattern;
    };
    class ParagraphText;

    std::vector<Match> findMatches(const QString& foldedText) const;
    int replaceInParagraph(pugi::xml_node paragraph) const;

    std::vector<Pattern> m_patterns;
    std::vector<qsizetype> m_lengths;             // distinct pattern lengths, longest first
    QString m_firstCharacters;                    // folded first characters of the patterns
    QHash<QString, int> m_index;                  // folded text -> pattern
};

// Case folding that keeps the length, so positions in the folded text are positions in the
// original.
QString foldCaseKeepingLength(const QString& text);

} // namespace printing
