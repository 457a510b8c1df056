#include "data/global_data.h"

#include "db/db_error.h"
#include "db/value.h"

#include <QCoreApplication>
#include <QDir>

namespace data {

namespace {

TGlobalData* g_globalData = nullptr;

const QString kSettingKey = QStringLiteral("字段");
const QString kSettingValue = QStringLiteral("值");

} // namespace

TGlobalData* GlobalData()
{
    return g_globalData;
}

void setGlobalData(TGlobalData* data)
{
    g_globalData = data;
}

TGlobalData::TGlobalData(QObject* parent)
    : TGlobalData(defaultDatabasePath(), parent)
{
}

TGlobalData::TGlobalData(const QString& databasePath, QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("GlobalData"));
    DataModuleCreate(databasePath);
}

TGlobalData::~TGlobalData()
{
    if (g_globalData == this)
        g_globalData = nullptr;
}

QString TGlobalData::defaultDatabasePath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kDatabaseFileName));
}

db::Query* TGlobalData::addLookup(const char* name, const QStringList& lines)
{
    auto* query = new db::Query(ADOConnection1.get(), this);
    query->setObjectName(QString::fromLatin1(name));
    query->setSqlLines(lines);
    m_startupQueries.push_back(query);
    return query;
}

void TGlobalData::DataModuleCreate(const QString& databasePath)
{
    ADOConnection1 = std::make_unique<db::Connection>(
        db::ConnectionInfo{databasePath, QString::fromLatin1(kDatabasePassword)});

    QueryTemp = new db::Query(ADOConnection1.get(), this);
    QueryTemp->setObjectName(QStringLiteral("QueryTemp"));

    // Opened in this order.
    QueryElectionYear = addLookup("QueryElectionYear", {"SELECT *", "FROM 增选年度", "ORDER BY 增选年度 DESC"});
    QueryValidDepartment
        = addLookup("QueryValidDepartment", {"SELECT ID, 编码, 名称, 列表名 as Name", "FROM 视图有效学部", "ORDER BY 编码"});
    QueryNation = addLookup("QueryNation",
                            {"SELECT ID, 编码,名称,(编码||'-'||名称) as Name", "FROM 字典民族", "ORDER BY 编码"});
    QueryProvince = addLookup(
        "QueryProvince", {"SELECT ID, 编码, 名称, (编码 || ' - ' || 名称) as Name", "FROM 视图省市", "ORDER BY 编码"});
    QueryProfTitle = addLookup(
        "QueryProfTitle", {"SELECT ID, 编码, 名称, (编码 || ' - ' || 名称) as Name", "FROM 字典职称 ", "ORDER BY 编码"});
    QuerySchoolLevel = addLookup("QuerySchoolLevel", {"SELECT *, (编码 || ' - ' || 名称) as Name", "FROM 字典学历"});
    QueryDegree = addLookup("QueryDegree", {"SELECT *, (编码 || ' - ' || 名称) as Name", "FROM 字典学位"});
    QueryDictParty = addLookup(
        "QueryDictParty", {"SELECT ID, 编码, 名称, (编码 || ' - ' || 名称) as Name", "FROM 字典党派", "ORDER BY 编码"});
    QuerySubject = addLookup("QuerySubject", {"SELECT *", "FROM 字典学科", "ORDER BY 编码"});
    QueryChannel = addLookup("QueryChannel", {"SELECT *", "FROM 字典提名渠道", "ORDER BY 编码"});
    QueryCompanyType = addLookup("QueryCompanyType", {"SELECT ID, 编码, 名称", "FROM 字典单位性质", "ORDER BY 编码"});
    QueryIndustryType = addLookup("QueryIndustryType", {"SELECT *", "FROM 字典产业性质", "ORDER BY 编码"});
    QueryMinistriesType = addLookup("QueryMinistriesType", {"SELECT * FROM 字典单位部门 ",
                                                            "WHERE 名称 <> '（特别提名小组）'", "ORDER BY 编码 "});
    QueryAllDepartment = addLookup("QueryAllDepartment", {"SELECT * FROM 字典学部"});
    QueryAcad = addLookup("QueryAcad", {"SELECT 院士.*, 字典学部.名称 AS 院士学部 ",
                                        "FROM 院士 LEFT JOIN 字典学部 ON (院士.学部ID = 字典学部.ID)",
                                        "ORDER BY 姓名 COLLATE PINYIN"});
    QueryYearSetting = addLookup("QueryYearSetting", {"SELECT *", "FROM 下发系统设置", "WHERE 字段='提名年份'"});
    QueryHighProfTitle = addLookup("QueryHighProfTitle", {"SELECT ID, 编码, 名称, (编码 || ' - ' || 名称) as Name",
                                                          "FROM 视图高级职称", "ORDER BY 编码"});
    QueryCountry = addLookup("QueryCountry", {"SELECT ID, 编码, 名称", "FROM 字典国家"});
    QuerySetup = addLookup("QuerySetup", {"SELECT * FROM 下发系统设置"});
    QuerySetup->setCursorKind(db::Query::CursorKind::Editable);

    for (db::Query* query : m_startupQueries)
        query->open();
}

void TGlobalData::GetSetting(const QString& key, QString& value)
{
    QuerySetup->first();
    if (QuerySetup->locate(kSettingKey, key, db::Query::Match::Exact))
        value = QuerySetup->field(kSettingValue).asString();
}

void TGlobalData::SetSetting(const QString& key, const QString& value)
{
    if (!QuerySetup->locate(kSettingKey, key, db::Query::Match::CaseInsensitive))
        return;
    QuerySetup->edit();
    try {
        QuerySetup->setValue(kSettingValue, value);
        QuerySetup->post();
    } catch (...) {
        QuerySetup->cancel();
        throw;
    }
}

qint64 TGlobalData::settingAsInteger(const QString& key)
{
    QString value;
    GetSetting(key, value);
    return db::variantToInt(value, key);
}

} // namespace data
