#include "data/csv_reader.h"

#include <stdexcept>

namespace data {

std::vector<QStringList> parseCsv(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the current field had quotes, so "" is an empty text, not null
    bool rowHasContent = false;

    auto endField = [&]() {
        row << ((field.isEmpty() && !wasQuoted) ? QString() : field);
        field = QString();
        wasQuoted = false;
    };
    auto endRow = [&]() {
        endField();
        if (rowHasContent || row.size() > 1)
            rows.push_back(row);
        row.clear();
        rowHasContent = false;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            wasQuoted = true;
            rowHasContent = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\n')) {
            endRow();
        } else if (c != QLatin1Char('\r')) {
            field += c;
            rowHasContent = true;
        }
    }
    if (quoted)
        throw std::runtime_error("CSV text ends inside a quoted field");
    if (rowHasContent || !row.isEmpty())
        endRow();
    return rows;
}

} // namespace data
