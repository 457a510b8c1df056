#pragma once

#include "db/connection.h"
#include "db/query.h"

#include <QObject>

#include <memory>
#include <vector>

namespace data {

// The program's one data module: the connection to the working database, the shared lookups that
// pages bind their drop-down lists to, the scratch query and the issued settings.
class TGlobalData : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* kDatabaseFileName = "qzv2017.mdb";
    static constexpr const char* kDatabasePassword = "384952";

    // Opens the working database next to the program.
    explicit TGlobalData(QObject* parent = nullptr);
    // Opens the given database file (tests and tools).
    TGlobalData(const QString& databasePath, QObject* parent);
    ~TGlobalData() override;

    static QString defaultDatabasePath();

    db::Connection& connection() const { return *ADOConnection1; }

    // Reads the setting `key` (exact match). An absent key leaves `value` as passed.
    void GetSetting(const QString& key, QString& value);
    // Writes the setting `key` (letter case ignored) at once; an absent key writes nothing.
    void SetSetting(const QString& key, const QString& value);
    // The setting read as a whole number; absent or not a number throws.
    qint64 settingAsInteger(const QString& key);

    std::unique_ptr<db::Connection> ADOConnection1;
    db::Query* QueryTemp = nullptr;
    db::Query* QuerySetup = nullptr;

    db::Query* QueryElectionYear = nullptr;
    db::Query* QueryValidDepartment = nullptr;
    db::Query* QueryNation = nullptr;
    db::Query* QueryProvince = nullptr;
    db::Query* QueryProfTitle = nullptr;
    db::Query* QuerySchoolLevel = nullptr;
    db::Query* QueryDegree = nullptr;
    db::Query* QueryDictParty = nullptr;
    db::Query* QuerySubject = nullptr;
    db::Query* QueryChannel = nullptr;
    db::Query* QueryCompanyType = nullptr;
    db::Query* QueryIndustryType = nullptr;
    db::Query* QueryMinistriesType = nullptr;
    db::Query* QueryAllDepartment = nullptr;
    db::Query* QueryAcad = nullptr;
    db::Query* QueryYearSetting = nullptr;
    db::Query* QueryHighProfTitle = nullptr;
    db::Query* QueryCountry = nullptr;

    // The lookups in the order they are opened, then QuerySetup.
    const std::vector<db::Query*>& startupQueries() const { return m_startupQueries; }

private:
    void DataModuleCreate(const QString& databasePath);
    db::Query* addLookup(const char* name, const QStringList& lines);

    std::vector<db::Query*> m_startupQueries;
};

// The data module of the running program; null before it is created.
TGlobalData* GlobalData();
void setGlobalData(TGlobalData* data);

} // namespace data
