#pragma once

#include <QStringList>

namespace db {
class Connection;
}

namespace candidates {

// The statement of the candidate list: every live candidate.
QStringList candidateListSql();

// Marks a candidate as deleted; its rows stay in every table.
void softDeleteCandidate(db::Connection& connection, qint64 candidateId);

// The tables "清空数据" empties, children before parents, committee members before committees.
const QStringList& clearedTables();

// Empties every candidate and selection-committee table in one transaction: either all are
// empty afterwards or, on an error, all are as they were.
void clearAllCandidateData(db::Connection& connection);

} // namespace candidates
