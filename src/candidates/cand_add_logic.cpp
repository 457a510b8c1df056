#include "candidates/cand_add_logic.h"

#include "data/global_data.h"
#include "db/connection.h"
#include "db/value.h"

namespace candidates {

QString removeSpaces(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char(' '));
    result.remove(QChar(0x3000));
    return result;
}

bool liveCandidateHasNumber(db::Connection& connection, const QVariant& number, qint64 exceptId)
{
    return connection
               .scalar(QStringLiteral("SELECT COUNT(*) FROM 候选人 WHERE 是否删除='否' and ID <> :ID and 证件号码 =:number"),
                       {{QStringLiteral("ID"), exceptId}, {QStringLiteral("number"), number}})
               .toLongLong()
        > 0;
}

bool NewCandidate::isComplete() const
{
    return !name.trimmed().isEmpty() && !gender.trimmed().isEmpty() && birthday.isValid()
        && !idType.trimmed().isEmpty() && !idNumber.trimmed().isEmpty() && departmentId > 0;
}

bool NewCandidate::needsIdLengthWarning() const
{
    return idType == kIdCard && idNumber.size() != 18;
}

CandidateCreator::CandidateCreator(data::TGlobalData& data)
    : m_data(data)
{
}

QString CandidateCreator::setting(const QString& key) const
{
    QString value;
    m_data.GetSetting(key, value);
    return value;
}

bool CandidateCreator::isDuplicate(const QString& idNumber) const
{
    return liveCandidateHasNumber(m_data.connection(), idNumber.trimmed());
}

// The "不分组" committee of the selecting department, when it has one.
QString CandidateCreator::ungroupedCommittee(const QString& departmentText) const
{
    const db::Params params = {{QStringLiteral("department"), departmentText}};
    const QString where = QStringLiteral(" WHERE 遴选部门ID=:department\n   AND 名称='不分组'");
    db::Connection& connection = m_data.connection();
    if (connection.scalar(QStringLiteral("SELECT COUNT(*) FROM 遴选委员会\n") + where, params).toLongLong() == 0)
        return {};
    return connection.scalar(QStringLiteral("SELECT 遴选委员会UUID FROM 遴选委员会\n") + where, params).toString();
}

qint64 CandidateCreator::create(const NewCandidate& candidate)
{
    const QString uuid = db::newGuidText();
    const QString year = setting(QStringLiteral("提名年份"));
    const qint64 channel = db::variantToInt(setting(QStringLiteral("遴选部门类别ID")), QStringLiteral("遴选部门类别ID"));

    db::Params row = {
        {QStringLiteral("姓名"), candidate.name},
        {QStringLiteral("性别"), candidate.gender},
        {QStringLiteral("出生日期"), candidate.birthday},
        {QStringLiteral("证件类型"), candidate.idType},
        {QStringLiteral("证件号码"), candidate.idNumber.trimmed()},
        {QStringLiteral("拟提名学部ID"), candidate.departmentId},
        {QStringLiteral("增选年度"), year},
        {QStringLiteral("提名渠道ID"), channel},
        {QStringLiteral("候选人UUID"), uuid},
    };
    if (channel >= 2) {
        const QString departmentText = setting(QStringLiteral("遴选部门ID"));
        row.insert(QStringLiteral("遴选部门ID"), db::variantToInt(departmentText, QStringLiteral("遴选部门ID")));
        if (setting(QStringLiteral("是否提名单位")) == QLatin1String("1")) {
            row.insert(QStringLiteral("推荐单位名称"), setting(QStringLiteral("推荐单位名称")));
            row.insert(QStringLiteral("推荐单位负责人"), setting(QStringLiteral("推荐单位负责人")));
        } else if (setting(QStringLiteral("是否分组")) == QLatin1String("0")) {
            const QString committee = ungroupedCommittee(departmentText);
            if (!committee.isEmpty())
                row.insert(QStringLiteral("遴选委员会UUID"), committee);
        }
    }

    QStringList columns;
    QStringList marks;
    for (auto it = row.constBegin(); it != row.constEnd(); ++it) {
        columns << it.key();
        marks << QLatin1Char(':') + it.key();
    }
    db::Connection& connection = m_data.connection();
    db::Transaction transaction(connection);
    connection.execute(QStringLiteral("INSERT INTO 候选人 (%1) VALUES (%2)").arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                       row);
    const qint64 id = connection.lastInsertId();
    const db::Params detail = {{QStringLiteral("id"), id}, {QStringLiteral("year"), year}, {QStringLiteral("uuid"), uuid}};
    for (const char* table : {"候选人补充信息", "候选人工作单位", "候选人联系信息"}) {
        connection.execute(QStringLiteral("INSERT INTO %1 (候选人ID, 增选年度, 候选人UUID) VALUES (:id, :year, :uuid)")
                               .arg(QString::fromUtf8(table)),
                           detail);
    }
    transaction.commit();
    return id;
}

} // namespace candidates
