#include "data/setup_logic.h"

#include "data/global_data.h"
#include "db/query.h"

namespace data {

namespace {

const QString kChannel = QStringLiteral("遴选部门类别ID");
const QString kDepartment = QStringLiteral("遴选部门ID");
const QString kNamedUnit = QStringLiteral("是否提名单位");
const QString kUnitName = QStringLiteral("推荐单位名称");
const QString kPersonInCharge = QStringLiteral("推荐单位负责人");

qint64 toInteger(const QString& text)
{
    return text.trimmed().toLongLong();
}

} // namespace

TSetupLogic::TSetupLogic(TGlobalData& data)
    : m_data(data)
{
}

QString TSetupLogic::Setting(const QString& key)
{
    QString value;
    m_data.GetSetting(key, value);
    return value;
}

qint64 TSetupLogic::StoredChannel()
{
    bool ok = false;
    const qint64 channel = Setting(kChannel).trimmed().toLongLong(&ok);
    return ok ? channel : 0;
}

qint64 TSetupLogic::StoredDepartment()
{
    return m_data.settingAsInteger(kDepartment);
}

bool TSetupLogic::StoredNamedUnit()
{
    return m_data.settingAsInteger(kNamedUnit) > 0;
}

QVector<SetupItem> TSetupLogic::ReadItems(const QString& sql)
{
    db::Query* query = m_data.QueryTemp;
    query->close();
    query->setSql(sql);
    query->open();
    QVector<SetupItem> items;
    for (query->first(); !query->eof(); query->next())
        items.push_back({query->field(QStringLiteral("ID")).asInteger(), query->field(QStringLiteral("名称")).asString()});
    query->close();
    return items;
}

QVector<SetupItem> TSetupLogic::LoadChannels()
{
    QVector<SetupItem> channels;
    channels += ReadItems(QStringLiteral("SELECT * FROM 字典提名渠道 WHERE ID = 1"));
    channels += ReadItems(QStringLiteral("SELECT * FROM 字典提名渠道 WHERE ID = 5"));
    channels += ReadItems(QStringLiteral("SELECT * FROM 字典提名渠道 编码 WHERE ID = 2"));
    return channels;
}

QVector<SetupItem> TSetupLogic::LoadDepartments(qint64 channel)
{
    return ReadItems(QStringLiteral("SELECT * FROM 视图省市部委  WHERE 提名渠道ID=%1 ORDER BY 编码").arg(channel));
}

int TSetupLogic::ActiveCandidateCount()
{
    db::Query* query = m_data.QueryTemp;
    query->close();
    query->setSql(QStringLiteral("SELECT count(*) AS c FROM 候选人 WHERE 是否删除='否'"));
    query->open();
    const int count = static_cast<int>(query->field(QStringLiteral("c")).asInteger());
    query->close();
    return count;
}

TSetupLogic::SaveResult TSetupLogic::Save(SetupChoice choice, const Confirm& confirmApplyToCandidates)
{
    choice.unitName = choice.unitName.trimmed();
    choice.personInCharge = choice.personInCharge.trimmed();
    if (choice.channel == kAcademicianChannel) {
        choice.department = -1;
        choice.unitName.clear();
        choice.personInCharge.clear();
        choice.namedUnit = false;
    }
    if (choice.namedUnit && (choice.unitName.isEmpty() || choice.personInCharge.isEmpty()))
        return SaveResult::Incomplete;
    if (!choice.department)
        return SaveResult::Incomplete;

    const int candidates = ActiveCandidateCount();
    SaveChannelAndDepartment(choice, candidates, confirmApplyToCandidates);

    const QString unit = choice.namedUnit ? QStringLiteral("1") : QStringLiteral("0");
    if (Setting(kNamedUnit) != unit)
        m_data.SetSetting(kNamedUnit, unit);

    if (choice.namedUnit)
        SaveUnit(choice, candidates, confirmApplyToCandidates);
    return SaveResult::Saved;
}

void TSetupLogic::SaveChannelAndDepartment(const SetupChoice& choice, int candidates, const Confirm& confirm)
{
    const QString channel = QString::number(choice.channel);
    const QString department = QString::number(*choice.department);
    if (channel == Setting(kChannel) && department == Setting(kDepartment))
        return;

    m_data.SetSetting(kChannel, channel);
    m_data.SetSetting(kDepartment, department);

    db::Connection& connection = m_data.connection();
    const db::Params stored{{QStringLiteral("dep"), toInteger(Setting(kDepartment))}};
    connection.execute(QStringLiteral("UPDATE 遴选委员会 SET 遴选部门ID=:dep"), stored);
    connection.execute(QStringLiteral("UPDATE 遴选单位信息 SET 遴选部门ID=:dep"), stored);

    if (candidates > 0 && confirm()) {
        connection.execute(QStringLiteral("UPDATE 候选人 SET 提名渠道ID=:ch, 遴选部门ID=:dep "),
                           {{QStringLiteral("ch"), toInteger(Setting(kChannel))},
                            {QStringLiteral("dep"), toInteger(Setting(kDepartment))}});
    }
}

void TSetupLogic::SaveUnit(const SetupChoice& choice, int candidates, const Confirm& confirm)
{
    if (choice.unitName == Setting(kUnitName) && choice.personInCharge == Setting(kPersonInCharge))
        return;

    m_data.SetSetting(kUnitName, choice.unitName);
    m_data.SetSetting(kPersonInCharge, choice.personInCharge);

    if (candidates > 0 && confirm()) {
        m_data.connection().execute(
            QStringLiteral("UPDATE 候选人    SET 提名渠道ID=:ch, 遴选部门ID=:dep,        推荐单位名称=:name,"
                           "        推荐单位负责人=:person"),
            {{QStringLiteral("ch"), toInteger(Setting(kChannel))},
             {QStringLiteral("dep"), toInteger(Setting(kDepartment))},
             {QStringLiteral("name"), Setting(kUnitName)},
             {QStringLiteral("person"), Setting(kPersonInCharge)}});
    }
}

} // namespace data
