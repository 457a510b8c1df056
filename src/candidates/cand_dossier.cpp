#include "candidates/cand_dossier.h"

#include "candidates/cand_add_logic.h"
#include "data/global_data.h"
#include "db/db_error.h"
#include "db/table_copy.h"
#include "db/value.h"

#include <QDateTime>
#include <QRandomGenerator>

namespace candidates {

struct CandidateDossier::Spec
{
    const char* name;
    const char* table;
    QStringList load;
    bool listTable = true;
    QStringList required;
    QStringList storeRequired;
};

namespace {

QStringList listLoad(const char* table)
{
    return {QStringLiteral("SELECT * FROM ") + QString::fromUtf8(table), QStringLiteral("WHERE 候选人ID=:ID"),
            QStringLiteral("ORDER BY 序号")};
}

QStringList rowLoad(const char* table, const char* trailing = "")
{
    return {QStringLiteral("SELECT * FROM ") + QString::fromUtf8(table) + QString::fromUtf8(trailing),
            QStringLiteral("WHERE 候选人ID=:ID")};
}

const QString kOrder = QStringLiteral("序号");

} // namespace

QString rewritePostMessage(QString message)
{
    message.replace(QStringLiteral("Field value required."), QStringLiteral("请将字段填写完整"));
    message.replace(QStringLiteral("Field"), QStringLiteral("请检查字段"));
    message.replace(QStringLiteral("must have a value"), QStringLiteral("是否填写完整"));
    message.remove(QStringLiteral("ID"));
    return message;
}

QString makeStamp(int part)
{
    return QString::number(part) + QLatin1Char('@')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmsszzz"));
}

CandidateDossier::CandidateDossier(data::TGlobalData& data, qint64 candidateId, QObject* parent)
    : QObject(parent)
    , m_data(data)
    , m_candidateId(candidateId)
{
    const std::vector<Spec> specs = {
        {"CDSParty", "候选人所属党派", listLoad("候选人所属党派"), true, {"党派ID"}, {}},
        {"CDSSchoolRecord", "候选人主要学历", listLoad("候选人主要学历"), true, {"学校"}, {}},
        {"CDSExperience", "候选人主要经历", listLoad("候选人主要经历"), true, {"单位"}, {"开始年月", "结束年月"}},
        {"CDSPartTimeJob", "候选人主要兼职", listLoad("候选人主要兼职"), true, {"单位名称"}, {}},
        {"CDSPrize", "候选人科技奖项", listLoad("候选人科技奖项"), true, {"获奖年份", "奖项名称"}, {}},
        {"CDSPatent", "候选人发明专利", listLoad("候选人发明专利"), true, {"年份", "名称", "专利号", "专利类型"}, {}},
        {"CDSPaper", "候选人论文专著", listLoad("候选人论文专著"), true, {"发表年份", "著作名称"}, {}},
        {"CDSFruit", "候选人主要成果", listLoad("候选人主要成果"), true, {}, {}},
        {"CDSCandidate", "候选人", {QStringLiteral("SELECT * FROM 候选人"), QStringLiteral("WHERE ID=:ID")}, false,
         {"姓名", "证件类型", "证件号码", "出生日期", "拟提名学部ID"}, {}},
        {"CDSExtraInfo", "候选人补充信息", rowLoad("候选人补充信息", " "), false, {}, {}},
        {"CDSCompany", "候选人工作单位", rowLoad("候选人工作单位"), false, {}, {}},
        {"CDSContact", "候选人联系信息", rowLoad("候选人联系信息"), false, {}, {}},
        {"CDSSocietyJob", "候选人社会职务", listLoad("候选人社会职务"), true, {"单位", "类别"}, {}},
        {"CDSAcadList", "候选人提名院士", listLoad("候选人提名院士"), true, {}, {}},
        {"CDSAbroad", "候选人海外经历", listLoad("候选人海外经历"), true, {}, {}},
    };
    for (const Spec& spec : specs)
        addCopy(spec);
    m_candidate = copy(QStringLiteral("CDSCandidate"));
    m_extraInfo = copy(QStringLiteral("CDSExtraInfo"));
    m_schoolRecord = copy(QStringLiteral("CDSSchoolRecord"));
    m_academicians = copy(QStringLiteral("CDSAcadList"));

    m_candidate->setReadOnlyColumns({"ID", "增选年度", "提名渠道ID", "推荐单位名称", "推荐单位负责人", "遴选部门ID", "遴选得票数"});
    m_extraInfo->setKeyColumns({QStringLiteral("候选人ID")});
    installFieldRules();
}

CandidateDossier::~CandidateDossier() = default;

db::TableCopy* CandidateDossier::addCopy(const Spec& spec)
{
    auto* copy = new db::TableCopy(&m_data.connection(), QString::fromUtf8(spec.table), this);
    copy->setObjectName(QString::fromLatin1(spec.name));
    copy->setLoadSql(spec.load);
    copy->setParam(QStringLiteral("ID"), m_candidateId);
    copy->setRequiredColumns(spec.required);
    copy->setStoreRequiredColumns(spec.storeRequired);
    const bool isCandidate = QString::fromLatin1(spec.name) == QLatin1String("CDSCandidate");
    if (spec.listTable)
        copy->setOrderColumn(kOrder);
    else if (!isCandidate)
        copy->setAppendWhenEmpty(true);
    m_copies.push_back(copy);
    if (!isCandidate)
        installNewRowRules(*copy, spec.listTable);
    return copy;
}

db::TableCopy* CandidateDossier::copy(const QString& name) const
{
    for (db::TableCopy* copy : m_copies) {
        if (copy->objectName() == name)
            return copy;
    }
    return nullptr;
}

void CandidateDossier::load()
{
    for (db::TableCopy* copy : m_copies)
        copy->open();
}

// New rows get the candidate's keys, both times and, in list tables, the next order number.
void CandidateDossier::installNewRowRules(db::TableCopy& copy, bool listTable)
{
    auto nextNumber = std::make_shared<qint64>(1);
    if (listTable) {
        copy.setBeforeInsert([nextNumber](db::TableCopy& table) {
            *nextNumber = table.isEmpty() ? 1 : table.rowValue(table.recordCount() - 1, kOrder).toLongLong() + 1;
        });
    }
    copy.setAfterInsert([this, nextNumber, listTable](db::TableCopy& table) {
        const QDateTime now = QDateTime::currentDateTime();
        table.setValue(QStringLiteral("候选人ID"), m_candidateId);
        table.setValue(QStringLiteral("增选年度"), m_candidate->value(QStringLiteral("增选年度")));
        table.setValue(QStringLiteral("候选人UUID"), m_candidate->value(QStringLiteral("候选人UUID")));
        table.setValue(QStringLiteral("创建时间"), now);
        table.setValue(QStringLiteral("修改时间"), now);
        if (listTable)
            table.setValue(kOrder, *nextNumber);
    });
}

void CandidateDossier::installFieldRules()
{
    connect(m_candidate, &db::TableCopy::fieldChanged, this, [this](const QString& column) {
        if (column == QStringLiteral("籍贯省市ID"))
            m_candidate->setValue(QStringLiteral("籍贯地区"), QVariant());
        else if (column == QStringLiteral("出生地省市ID"))
            m_candidate->setValue(QStringLiteral("出生地地区"), QVariant());
    });
    m_candidate->setBeforePost([](db::TableCopy& table) {
        QVariant discipline;
        for (const char* level : {"三级学科ID", "二级学科ID", "一级学科ID"}) {
            const QVariant value = table.value(QString::fromUtf8(level));
            if (!value.isNull() && !db::variantToText(value).isEmpty()) {
                discipline = value;
                break;
            }
        }
        table.setValue(QStringLiteral("学科ID"), discipline);
    });

    connect(m_extraInfo, &db::TableCopy::fieldChanged, this, [this](const QString& column) {
        static const QList<std::pair<QString, QPair<QString, int>>> opinionStamps = {
            {QStringLiteral("单位审核意见"), {QStringLiteral("单位审核意见条形码"), 2}},
            {QStringLiteral("提名院士意见"), {QStringLiteral("提名院士意见条形码"), 3}},
            {QStringLiteral("推荐单位意见"), {QStringLiteral("推荐单位意见条形码"), 3}},
            {QStringLiteral("遴选部门意见"), {QStringLiteral("遴选意见条形码"), 4}},
        };
        if (column == QStringLiteral("主要成就文档") || column == QStringLiteral("成就贡献简介")) {
            stampCandidate();
            return;
        }
        for (const auto& [watched, stamp] : opinionStamps) {
            if (column == watched)
                m_extraInfo->setValue(stamp.first, makeStamp(stamp.second));
        }
    });

    m_academicians->setBeforePost([this](db::TableCopy& table) {
        if (db::variantToText(table.value(QStringLiteral("提名院士ID"))).isEmpty())
            throw db::DbError(QStringLiteral("请选择提名院士！"));
        if (table.value(QStringLiteral("ID")).toLongLong() <= 0) {
            qint64 id = 0;
            do {
                id = QRandomGenerator::global()->bounded(1, 10000001);
            } while (isAcademicianKeyTaken(table, id));
            table.setValue(QStringLiteral("ID"), id);
        }
        table.setValue(QStringLiteral("修改时间"), QDateTime::currentDateTime());
    });
}

// The candidate's own stamp: written into its row, which is posted when it can be (an incomplete
// candidate row stays in edit and is reported by the save).
void CandidateDossier::stampCandidate()
{
    if (m_candidate->isEmpty())
        return;
    m_candidate->setValue(QStringLiteral("候选人信息条形码"), makeStamp(1));
    try {
        m_candidate->post();
    } catch (const db::DbError&) {
    }
}

bool CandidateDossier::hasPendingChanges() const
{
    for (const db::TableCopy* copy : m_copies) {
        if (copy->changeCount() > 0 || copy->isModified())
            return true;
    }
    return false;
}

// A random key must be free both in the table and among the copy's other rows.
bool CandidateDossier::isAcademicianKeyTaken(const db::TableCopy& table, qint64 id) const
{
    for (int row = 0; row < table.recordCount(); ++row) {
        if (row != table.recNo() && table.rowValue(row, QStringLiteral("ID")).toLongLong() == id)
            return true;
    }
    return m_data.connection()
               .scalar(QStringLiteral("SELECT count(*) FROM 候选人提名院士 WHERE ID=:id"), {{QStringLiteral("id"), id}})
               .toLongLong()
        > 0;
}

QStringList CandidateDossier::save()
{
    if (liveCandidateHasNumber(m_data.connection(), m_candidate->value(QStringLiteral("证件号码")), m_candidateId))
        return {QStringLiteral("身份证件号 %1 已存在，无法保存信息！").arg(m_candidate->text(QStringLiteral("证件号码")))};

    QStringList messages;
    for (db::TableCopy* copy : m_copies) {
        if (copy->isEditing()) {
            try {
                copy->post();
            } catch (const db::DbError& error) {
                messages << rewritePostMessage(error.message());
            }
        }
        if (copy->changeCount() == 0)
            continue;
        try {
            copy->applyUpdates();
        } catch (const db::DbError&) {
            messages << QStringLiteral("请填写完整各项信息");
            continue; // its changes stay pending; a refresh would lose them
        }
        if (copy == m_schoolRecord)
            stampCandidate();
        if (!copy->isEditing())
            copy->refresh();
    }
    return messages;
}

void CandidateDossier::cancel()
{
    for (db::TableCopy* copy : m_copies)
        copy->cancelUpdates();
}

} // namespace candidates
