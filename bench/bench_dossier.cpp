// Opening a full dossier in the editor's copies and saving one change in every table.
#include "candidates/cand_add_logic.h"
#include "candidates/cand_dossier.h"
#include "data/global_data.h"
#include "db/table_copy.h"
#include "support/test_support.h"

#include <benchmark/benchmark.h>

namespace {

struct FullDossier
{
    testing_support::WorkingDatabase database;
    data::TGlobalData data{database.path(), nullptr};
    qint64 id = 0;

    FullDossier()
    {
        data.SetSetting(QStringLiteral("遴选部门类别ID"), QStringLiteral("1"));
        id = candidates::CandidateCreator(data).create(
            {QStringLiteral("张三"), QStringLiteral("男"), QDate(1960, 5, 4), candidates::kIdCard, QStringLiteral("110105196005041234"), 1});
        candidates::CandidateDossier dossier(data, id);
        dossier.load();
        const QList<QPair<const char*, int>> limits = {{"CDSParty", 100}, {"CDSSchoolRecord", 6}, {"CDSExperience", 10},
                                                        {"CDSPartTimeJob", 6}, {"CDSPrize", 6},       {"CDSPatent", 6},
                                                        {"CDSPaper", 10},      {"CDSFruit", 5},       {"CDSSocietyJob", 5},
                                                        {"CDSAcadList", 6},    {"CDSAbroad", 10}};
        for (const auto& [name, limit] : limits) {
            db::TableCopy& copy = *dossier.copy(QString::fromLatin1(name));
            for (int i = 0; i < limit; ++i) {
                copy.append();
                for (const char* column : {"党派ID", "学校", "单位", "单位名称", "获奖年份", "奖项名称", "年份", "名称",
                                           "专利号", "专利类型", "发表年份", "著作名称", "类别", "提名院士ID"}) {
                    if (copy.hasField(QString::fromUtf8(column)))
                        copy.setValue(QString::fromUtf8(column), copy.maxLength(QString::fromUtf8(column)) == 4 ? QVariant(QStringLiteral("2001")) : QVariant(1));
                }
                for (const char* column : {"开始年月", "结束年月"}) {
                    if (copy.hasField(QString::fromUtf8(column)))
                        copy.setValue(QString::fromUtf8(column), QStringLiteral("2001.9"));
                }
                copy.post();
            }
        }
        db::TableCopy& extra = *dossier.copy(QStringLiteral("CDSExtraInfo"));
        extra.setValue(QStringLiteral("照片"), QByteArray(300 * 400 * 3 + 54, '\x7f'));
        extra.setValue(QStringLiteral("主要成就文档"), QByteArray(100 * 1024, 'd'));
        if (!dossier.save().isEmpty())
            throw std::runtime_error("the full dossier did not save");
    }
};

void BM_OpenFullDossier(benchmark::State& state)
{
    FullDossier full;
    for (auto _ : state) {
        candidates::CandidateDossier dossier(full.data, full.id);
        dossier.load();
        benchmark::DoNotOptimize(dossier.copy(QStringLiteral("CDSParty"))->recordCount());
    }
}
BENCHMARK(BM_OpenFullDossier)->Unit(benchmark::kMillisecond);

void BM_SaveOneChangeInEveryTable(benchmark::State& state)
{
    FullDossier full;
    candidates::CandidateDossier dossier(full.data, full.id);
    dossier.load();
    int round = 0;
    for (auto _ : state) {
        ++round;
        for (db::TableCopy* copy : dossier.copies()) {
            copy->first();
            const QString column = copy->hasField(QStringLiteral("修改时间")) ? QStringLiteral("修改时间") : QStringLiteral("姓名");
            copy->setValue(column, QDateTime(QDate(2017, 1, 1), QTime(0, 0)).addSecs(round));
            copy->post();
        }
        if (!dossier.save().isEmpty())
            state.SkipWithError("save reported messages");
    }
}
BENCHMARK(BM_SaveOneChangeInEveryTable)->Unit(benchmark::kMillisecond);

} // namespace
