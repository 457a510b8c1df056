// The start-up data path and bulk candidate writes and reads on the working database.
#include "data/global_data.h"
#include "data/schema.h"
#include "db/connection.h"
#include "db/query.h"
#include "db/value.h"
#include "support/test_home.h"
#include "support/test_support.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QUuid>

namespace {

void BM_OpenWorkingDatabaseWithLookups(benchmark::State& state)
{
    testing_support::WorkingDatabase database;
    for (auto _ : state) {
        data::TGlobalData globalData(database.path(), nullptr);
        benchmark::DoNotOptimize(globalData.QueryAcad->recordCount());
    }
}
BENCHMARK(BM_OpenWorkingDatabaseWithLookups)->Unit(benchmark::kMillisecond);

QString newUuid()
{
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

// One candidate with one row in each detail table.
void insertCandidate(db::Connection& connection, int number)
{
    const QString uuid = newUuid();
    connection.execute(
        QStringLiteral("INSERT INTO 候选人 (姓名, 性别, 证件类型, 证件号码, 拟提名学部ID, 增选年度, 提名渠道ID, 候选人UUID) "
                       "VALUES (:name, '男', '身份证', :number, 1, '2017', 1, :uuid)"),
        {{QStringLiteral("name"), QStringLiteral("候选人%1").arg(number)},
         {QStringLiteral("number"), QStringLiteral("11010519700101%1").arg(number, 4, 10, QLatin1Char('0'))},
         {QStringLiteral("uuid"), uuid}});
    const qint64 id = connection.lastInsertId();
    for (const QString& table : data::candidateDetailTables()) {
        connection.execute(QStringLiteral("INSERT INTO %1 (候选人ID, 候选人UUID, 增选年度) VALUES (:id, :uuid, '2017')")
                               .arg(db::quoteIdentifier(table)),
                           {{QStringLiteral("id"), id}, {QStringLiteral("uuid"), uuid}});
    }
}

void BM_Insert1000CandidatesWithDetails(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        testing_support::WorkingDatabase database;
        db::Connection connection({database.path(), QStringLiteral("384952")});
        state.ResumeTiming();
        for (int batch = 0; batch < 10; ++batch) {
            db::Transaction transaction(connection);
            for (int i = 0; i < 100; ++i)
                insertCandidate(connection, batch * 100 + i);
            transaction.commit();
        }
    }
}
BENCHMARK(BM_Insert1000CandidatesWithDetails)->Unit(benchmark::kMillisecond);

void BM_Read1000CandidatesWithDetails(benchmark::State& state)
{
    testing_support::WorkingDatabase database;
    db::Connection connection({database.path(), QStringLiteral("384952")});
    {
        db::Transaction transaction(connection);
        for (int i = 0; i < 1000; ++i)
            insertCandidate(connection, i);
        transaction.commit();
    }
    for (auto _ : state) {
        qint64 rows = 0;
        db::Query candidates(&connection);
        candidates.setSql(QStringLiteral("SELECT * FROM 候选人 WHERE 是否删除='否' ORDER BY 姓名 COLLATE PINYIN"));
        candidates.open();
        rows += candidates.recordCount();
        for (const QString& table : data::candidateDetailTables()) {
            db::Query detail(&connection);
            detail.setSql(QStringLiteral("SELECT * FROM %1").arg(db::quoteIdentifier(table)));
            detail.open();
            rows += detail.recordCount();
        }
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_Read1000CandidatesWithDetails)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    testing_support::useTemporaryHome();
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
