#include "candidates/cand_list_logic.h"

#include "db/connection.h"

namespace candidates {

QStringList candidateListSql()
{
    return {QStringLiteral("SELECT *"), QStringLiteral("FROM 候选人"), QStringLiteral("WHERE 是否删除='否'")};
}

void softDeleteCandidate(db::Connection& connection, qint64 candidateId)
{
    connection.execute(QStringLiteral("UPDATE 候选人 SET 是否删除='是' WHERE ID=:ID"), {{QStringLiteral("ID"), candidateId}});
}

const QStringList& clearedTables()
{
    static const QStringList tables = {
        QStringLiteral("遴选委员会成员"), QStringLiteral("遴选委员会"),     QStringLiteral("遴选单位信息"),
        QStringLiteral("候选人补充信息"), QStringLiteral("候选人发明专利"), QStringLiteral("候选人工作单位"),
        QStringLiteral("候选人科技奖项"), QStringLiteral("候选人联系信息"), QStringLiteral("候选人论文专著"),
        QStringLiteral("候选人人大政协"), QStringLiteral("候选人社会职务"), QStringLiteral("候选人所属党派"),
        QStringLiteral("候选人提名院士"), QStringLiteral("候选人主要成果"), QStringLiteral("候选人主要经历"),
        QStringLiteral("候选人主要学历"), QStringLiteral("候选人主要兼职"), QStringLiteral("候选人海外经历"),
        QStringLiteral("候选人")};
    return tables;
}

void clearAllCandidateData(db::Connection& connection)
{
    db::Transaction transaction(connection);
    for (const QString& table : clearedTables())
        connection.execute(QStringLiteral("DELETE  FROM %1;").arg(table));
    transaction.commit();
}

} // namespace candidates
