#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace data {

// A CSV text as rows of fields (RFC 4180: comma separated, fields with commas, quotes or line
// breaks in double quotes, quotes doubled). A field left empty is returned as a null QString.
std::vector<QStringList> parseCsv(const QString& text);

} // namespace data
