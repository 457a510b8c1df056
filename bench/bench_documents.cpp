// Filling the printed documents: the personal information form with a full dossier, and a
// candidate list of 1,000 rows. Set QZ_BENCH_OUTPUT_DIR to keep the last document of each run
// there (for looking at the result).
#include "printing/docx_document.h"
#include "printing/ooxml_package.h"
#include "printing/report_lib.h"
#include "printing/xlsx_workbook.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

namespace {

using printing::Replacements;

QByteArray packedTemplate(const char* folder)
{
    return printing::packDirectory(QStringLiteral(QZ_SOURCE_DIR "/data/templates/") + QString::fromUtf8(folder));
}

void keepOutput(const QString& fileName, const QByteArray& bytes)
{
    const QString folder = qEnvironmentVariable("QZ_BENCH_OUTPUT_DIR");
    if (folder.isEmpty())
        return;
    QFile file(QDir(folder).filePath(fileName));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QString repeated(const QString& text, int times)
{
    QString result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

void addRows(Replacements& replacements, const QString& prefix, int rows, const QList<std::pair<QString, QString>>& fields)
{
    for (int row = 0; row < rows; ++row)
        for (const auto& [field, value] : fields)
            replacements.emplace_back(QStringLiteral("$%1$%2%3$").arg(prefix, field).arg(row),
                                      field == QStringLiteral("序号")      ? QString::number(row + 1)
                                      : value.contains(QLatin1String("%1")) ? value.arg(row + 1)
                                                                            : value);
}

// Every placeholder of the personal information form with a realistic value; every row set full.
Replacements fullDossier()
{
    const QString award = QStringLiteral("面向复杂工程结构的多尺度计算理论与方法（第%1项），国家自然科学奖，二等奖，排名：1，2015年，"
                                         "证书号码：2015-Z-103-2-01-R01，主要合作者：李明、王芳、赵强。");
    const QString contribution = repeated(QStringLiteral("提出了多尺度耦合计算的新方法，解决了工程结构长期服役性能预测的关键难题；"), 3);
    Replacements r{
        {QStringLiteral("$候$姓名$"), QStringLiteral("欧阳明远")},
        {QStringLiteral("$候$性别$"), QStringLiteral("男")},
        {QStringLiteral("$候$出生日期$"), QStringLiteral("1962/3/15")},
        {QStringLiteral("$候$民族$"), QStringLiteral("汉族")},
        {QStringLiteral("$候$学风道德$"), repeated(QStringLiteral("本人恪守学术道德规范，无任何违反科学道德的情况。"), 4)},
        {QStringLiteral("$候$领导干部$"), QStringLiteral(" ")},
        {QStringLiteral("$候$机关干部$"), QStringLiteral("无")},
        {QStringLiteral("$候$军队干部$"), QStringLiteral("无")},
        {QStringLiteral("$候$出生地$"), QStringLiteral("江苏省苏州市吴中区")},
        {QStringLiteral("$候$籍贯$"), QStringLiteral("浙江省绍兴市")},
        {QStringLiteral("$候$证件类型$"), QStringLiteral("居民身份证")},
        {QStringLiteral("$候$证件号码$"), QStringLiteral("320506196203150018")},
        {QStringLiteral("$候$专业专长$"), QStringLiteral("力学(计算固体力学、结构优化设计)")},
        {QStringLiteral("$候$专业技术职务$"), QStringLiteral("教授")},
        {QStringLiteral("$候$接受提名$"), QStringLiteral("院士")},
        {QStringLiteral("$候$提名渠道$"), QStringLiteral("院士提名")},
        {QStringLiteral("$侯$玄苑提名历史$"), QStringLiteral("2013年、2015年")},
        {QStringLiteral("$侯$紫垣提名历史$"), QStringLiteral("无")},
        {QStringLiteral("$候$党派$"), QStringLiteral("中共 ")},
        {QStringLiteral("$候$手机$"), QStringLiteral("13901234567")},
        {QStringLiteral("$候$住宅电话$"), QStringLiteral("0512-66881234")},
        {QStringLiteral("$候$传真$"), QStringLiteral("0512-66885678")},
        {QStringLiteral("$候$电子信箱$"), QStringLiteral("ouyang@example.edu.cn")},
        {QStringLiteral("$候$工作单位$"), QStringLiteral("东吴理工大学航空航天学院")},
        {QStringLiteral("$候$单位电话$"), QStringLiteral("0512-66880000")},
        {QStringLiteral("$候$行政职务$"), QStringLiteral("院长")},
        {QStringLiteral("$候$单位所属部门$"), QStringLiteral("江苏省")},
        {QStringLiteral("$候$单位通讯地址$"), QStringLiteral("江苏省苏州市工业园区仁爱路99号")},
        {QStringLiteral("$候$单位所在地$"), QStringLiteral("江苏省苏州市")},
        {QStringLiteral("$候$单位邮编$"), QStringLiteral("215123")},
        {QStringLiteral("$候$单位$"), QStringLiteral("0512-66880000")},
    };
    addRows(r, QStringLiteral("学"), 6, {{QStringLiteral("起止年月"), QStringLiteral("1978.9-1982.7")},
                                         {QStringLiteral("学校"), QStringLiteral("清源大学（第%1段）")},
                                         {QStringLiteral("专业"), QStringLiteral("工程力学")},
                                         {QStringLiteral("学位"), QStringLiteral("博士")}});
    addRows(r, QStringLiteral("经"), 10, {{QStringLiteral("起止年月"), QStringLiteral("1990.3-至今")},
                                          {QStringLiteral("工作单位"), QStringLiteral("东吴理工大学力学系（第%1段）")},
                                          {QStringLiteral("职务职称"), QStringLiteral("系主任/教授/教授")}});
    addRows(r, QStringLiteral("兼"), 6, {{QStringLiteral("起止年月"), QStringLiteral("2010.1-至今")},
                                         {QStringLiteral("团体名称"), QStringLiteral("中华力学学会（第%1项）")},
                                         {QStringLiteral("兼职职称"), QStringLiteral("常务理事")}});
    const QList<std::pair<QString, QString>> records{{QStringLiteral("序号"), QString()},
                                                     {QStringLiteral("基本信息"), award},
                                                     {QStringLiteral("作用贡献"), contribution}};
    addRows(r, QStringLiteral("科"), 6, records);
    addRows(r, QStringLiteral("专"), 6, records);
    addRows(r, QStringLiteral("论"), 10, records);
    addRows(r, QStringLiteral("成"), 5, {{QStringLiteral("序号"), QString()},
                                         {QStringLiteral("简介"), award},
                                         {QStringLiteral("作用贡献"), contribution}});
    return r;
}

// A main achievements text of about two pages with a numbered list and a table.
QByteArray achievementsDocument()
{
    printing::DocxDocument document = printing::DocxDocument::fromBytes(packedTemplate("提名书主要成就.docx"));
    document.replaceAll(QStringLiteral("（请在此处填写正文。全文限4页，不超过3000字；标题、正文均用宋体四号，标题加粗。）"),
                        repeated(QStringLiteral("候选人长期从事计算力学研究，建立了复杂结构多尺度分析的理论框架，成果应用于大型工程。"), 12));
    document.replaceAll(QStringLiteral("正文。"), repeated(QStringLiteral("在该方向取得系统性创新成果，发表论文二百余篇。"), 6));
    return document.toBytes();
}

void BM_FillPersonalInformationForm(benchmark::State& state)
{
    const QByteArray form = packedTemplate("提名书个人信息.docx");
    const Replacements values = fullDossier();
    const QByteArray achievements = achievementsDocument();
    QByteArray saved;
    for (auto _ : state) {
        printing::DocxDocument document = printing::DocxDocument::fromBytes(form);
        document.replaceAll(values);
        document.insertDocumentAtBookmark(QStringLiteral("主要成就"), achievements);
        saved = document.toBytes();
        benchmark::DoNotOptimize(saved.size());
    }
    state.counters["placeholders"] = static_cast<double>(values.size());
    keepOutput(QStringLiteral("个人信息.docx"), saved);
}
BENCHMARK(BM_FillPersonalInformationForm)->Unit(benchmark::kMillisecond);

std::vector<QVariantList> candidateRows(int count)
{
    std::vector<QVariantList> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back({QStringLiteral("候选人%1").arg(i + 1, 4, 10, QLatin1Char('0')), i % 3 ? QStringLiteral("男") : QStringLiteral("女"),
                        QStringLiteral("力学(计算固体力学%1)").arg(i % 17), i % 5 ? QStringLiteral("教授") : QStringLiteral("研究员"),
                        QStringLiteral("技术科学部"), QStringLiteral("欧阳明远、李明、王芳、赵强、孙丽、周杰")});
    return rows;
}

void BM_BuildCandidateListOf1000Rows(benchmark::State& state)
{
    const QByteArray list = packedTemplate("提名名单院士.xlsx");
    const std::vector<QVariantList> rows = candidateRows(1000);
    QByteArray saved;
    for (auto _ : state) {
        printing::XlsxWorkbook workbook = printing::XlsxWorkbook::fromBytes(list);
        workbook.writeRows(5, 1, rows);
        printing::FormatCandidateListRows(workbook, static_cast<int>(rows.size()));
        saved = workbook.toBytes();
        benchmark::DoNotOptimize(saved.size());
    }
    keepOutput(QStringLiteral("提名名单院士.xlsx"), saved);
}
BENCHMARK(BM_BuildCandidateListOf1000Rows)->Unit(benchmark::kMillisecond);

} // namespace
