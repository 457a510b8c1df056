#include "data/schema.h"

#include "db/connection.h"
#include "db/value.h"

namespace data {

namespace {

const QString kNowLocal = QStringLiteral("(strftime('%Y-%m-%d %H:%M:%f','now','localtime'))");

ColumnDef makeColumn(const QString& name, ColumnType type, int length = 0, const QString& defaultSql = {})
{
    ColumnDef column;
    column.name = name;
    column.type = type;
    column.length = length;
    column.defaultSql = defaultSql;
    return column;
}
ColumnDef autoId(const QString& name = QStringLiteral("ID"))
{
    return makeColumn(name, ColumnType::AutoNumber);
}
ColumnDef lng(const QString& name)
{
    return makeColumn(name, ColumnType::Long);
}
ColumnDef txt(const QString& name, int length)
{
    return makeColumn(name, ColumnType::Text, length);
}
ColumnDef fix(const QString& name, int length)
{
    return makeColumn(name, ColumnType::FixedText, length);
}
ColumnDef memo(const QString& name)
{
    return makeColumn(name, ColumnType::Memo);
}
ColumnDef date(const QString& name)
{
    return makeColumn(name, ColumnType::DateTime);
}
ColumnDef bin(const QString& name)
{
    return makeColumn(name, ColumnType::Binary);
}
ColumnDef created()
{
    return makeColumn(QStringLiteral("创建时间"), ColumnType::DateTime, 0, kNowLocal);
}
ColumnDef modified()
{
    return makeColumn(QStringLiteral("修改时间"), ColumnType::DateTime, 0, kNowLocal);
}
ColumnDef withDefault(ColumnDef column, const QString& sql)
{
    column.defaultSql = sql;
    return column;
}
ColumnDef key(ColumnDef column)
{
    column.primaryKey = true;
    return column;
}
ColumnDef year()
{
    return fix(QStringLiteral("增选年度"), 4);
}
ColumnDef candidateUuid()
{
    return txt(QStringLiteral("候选人UUID"), 40);
}
ColumnDef candidateId()
{
    return lng(QStringLiteral("候选人ID"));
}
ColumnDef order()
{
    return lng(QStringLiteral("序号"));
}

std::vector<TableDef> candidateTables()
{
    return {
        {QStringLiteral("候选人"),
         {txt("姓名", 30), fix("性别", 1), date("出生日期"), txt("证件类型", 10), txt("证件号码", 30),
          lng("拟提名学部ID"), autoId(), withDefault(fix("是否删除", 1), QStringLiteral("'否'")), year(),
          lng("提名渠道ID"), txt("推荐单位名称", 50), txt("推荐单位负责人", 20), candidateUuid(), lng("遴选部门ID"),
          txt("遴选委员会UUID", 40), fix("收文号", 9), date("收文日期"), txt("姓拼音", 20), txt("名拼音", 40),
          lng("民族ID"), lng("籍贯省市ID"), txt("籍贯地区", 20), lng("出生地省市ID"), txt("出生地地区", 20),
          lng("技术职称ID"), txt("技术职称其他", 20), lng("学科ID"), lng("一级学科ID"), lng("二级学科ID"),
          lng("三级学科ID"), txt("专业专长", 50), txt("玄苑提名历史", 50), txt("紫垣提名历史", 50),
          lng("遴选委员会序号"), lng("遴选得票数"), fix("是否接收", 1), fix("审查通过", 1), fix("审查无效原因", 100),
          fix("主提名书", 1), lng("参选学部ID"), lng("参选组ID"), fix("组内序号", 3), txt("提名书号", 10),
          lng("当选学部ID"), fix("是否当选", 1), lng("第一学历ID"), txt("第一学历其他", 50), lng("第一学位ID"),
          txt("第一学位其他", 50), lng("最高学历ID"), txt("最高学历其他", 50), lng("最高学位ID"),
          txt("最高学位其他", 50), fix("是否有博士后经历", 1), lng("籍贯国家ID"), lng("出生地国家ID"), created(),
          modified(), fix("提名院士列表", 255), txt("候选人信息条形码", 50), txt("学风道德", 200), txt("领导干部", 200),
          txt("机关干部", 100), txt("军队干部", 100), txt("提名单位名称", 50), txt("提名单位负责人", 20),
          txt("提名单位材料审查负责人", 20)}},
        {QStringLiteral("候选人主要学历"),
         {autoId(), year(), candidateId(), order(), txt("开始年月", 10), txt("结束年月", 10), lng("国家ID"),
          txt("学校", 50), txt("专业", 30), lng("学历ID"), txt("学历其他", 50), lng("学位ID"), txt("学位其他", 50),
          created(), modified(), candidateUuid(), txt("老学位", 10), txt("老学历", 10)}},
        {QStringLiteral("候选人所属党派"),
         {autoId(), year(), candidateId(), candidateUuid(), order(), lng("党派ID"), txt("党派名称", 30),
          txt("党内职务", 30), date("参加日期"), created(), modified(), txt("起始日期", 10), txt("截止日期", 10)}},
        {QStringLiteral("候选人主要经历"),
         {autoId(), created(), modified(), year(), candidateId(), order(), txt("开始年月", 10), txt("结束年月", 10),
          lng("国家ID"), txt("单位", 50), txt("行政职务", 50), txt("技术职务", 50), lng("职称ID"), txt("职称其他", 50),
          candidateUuid(), txt("老职称", 30)}},
        {QStringLiteral("候选人主要兼职"),
         {autoId(), year(), candidateId(), order(), txt("开始年月", 10), txt("结束年月", 10), txt("单位名称", 50),
          txt("职务", 50), created(), modified(), candidateUuid()}},
        {QStringLiteral("候选人科技奖项"),
         {autoId(), year(), candidateId(), order(), fix("获奖年份", 4), txt("奖项名称", 50), txt("排名", 10),
          txt("证书号码", 50), txt("主要贡献", 255), txt("主要合作者", 50), txt("有关情况", 255), created(), modified(),
          candidateUuid(), txt("获奖等级", 10), txt("获奖类别", 20)}},
        {QStringLiteral("候选人发明专利"),
         {autoId(), year(), candidateId(), order(), fix("年份", 4), txt("名称", 100), txt("专利号", 50),
          txt("专利类型", 20), txt("主要作用", 255), txt("主要贡献", 255), txt("排名", 10), created(), modified(),
          candidateUuid(), txt("发明人", 20), txt("主要合作者", 50)}},
        {QStringLiteral("候选人论文专著"),
         {autoId(), year(), candidateId(), order(), fix("发表年份", 4), txt("著作名称", 200), txt("排名", 10),
          txt("主要合作者", 50), txt("发表刊物", 100), txt("有关情况", 255), txt("主要贡献", 255), created(),
          modified(), candidateUuid(), txt("第一作者", 50), txt("通讯作者", 50)}},
        {QStringLiteral("候选人主要成果"),
         {autoId(), year(), candidateId(), order(), txt("成果简介", 250), txt("个人主要贡献", 200), created(),
          modified(), candidateUuid()}},
        {QStringLiteral("候选人补充信息"),
         {key(candidateId()), candidateUuid(), txt("增选年度", 4), created(), modified(), bin("照片"),
          bin("主要成就文档"), memo("单位审核意见"), txt("单位审核意见条形码", 50), memo("提名院士意见"),
          txt("提名院士意见条形码", 50), memo("推荐单位意见"), txt("推荐单位意见条形码", 50), memo("遴选部门意见"),
          txt("遴选意见条形码", 50), memo("成就贡献简介"), txt("单位附件册数", 10), txt("单位附件密级", 100)}},
        {QStringLiteral("候选人工作单位"),
         {autoId(), year(), created(), modified(), candidateId(), candidateUuid(), order(), txt("全称", 50),
          txt("简称", 20), txt("技术职务", 50), txt("行政职务", 50), txt("通讯地址", 100), fix("邮编", 20),
          txt("电话", 20), txt("传真", 20), lng("国家ID"), lng("省市ID"), txt("地区", 20), lng("单位性质ID"),
          lng("产业性质ID"), lng("部门类别ID"), lng("所属部门ID")}},
        {QStringLiteral("候选人联系信息"),
         {autoId(), year(), created(), modified(), candidateId(), candidateUuid(), txt("类别", 3), txt("移动电话", 13),
          txt("固定电话", 20), txt("传真", 20), txt("电子邮箱", 50), txt("通讯地址", 100), txt("邮政编码", 20),
          txt("配偶姓名", 20), txt("家庭地址", 100), txt("家庭邮政编码", 20), txt("联系人姓名", 20),
          txt("联系人联系方式", 50)}},
        {QStringLiteral("候选人社会职务"),
         {autoId(), year(), candidateId(), order(), txt("开始年月", 10), txt("结束年月", 10), txt("单位", 50),
          txt("类别", 50), txt("身份及职务", 50), lng("省市ID"), created(), modified(), candidateUuid()}},
        {QStringLiteral("候选人提名院士"),
         {autoId(), year(), created(), modified(), candidateId(), candidateUuid(), lng("提名院士ID"),
          fix("审查通过", 1), lng("提名院士所在学部ID"), memo("提名院士意见"), order()}},
        {QStringLiteral("候选人海外经历"),
         {autoId(), year(), candidateId(), order(), txt("开始年月", 10), txt("年限", 10), lng("国家ID"),
          txt("单位", 50), txt("职务", 50), created(), modified(), candidateUuid()}},
        {QStringLiteral("候选人人大政协"),
         {autoId(), year(), candidateId(), candidateUuid(), order(), txt("类别", 20), txt("届次", 20),
          txt("职务", 50), txt("开始年月", 10), txt("结束年月", 10), created(), modified()}},
    };
}

std::vector<TableDef> selectionTables()
{
    return {
        {QStringLiteral("遴选委员会"),
         {autoId(), year(), lng("遴选部门ID"), order(), txt("名称", 50), lng("投票人数"), txt("遴选委员会UUID", 40)}},
        {QStringLiteral("遴选委员会成员"),
         {autoId(), year(), lng("遴选委员会ID"), txt("遴选委员会UUID", 40), order(), txt("姓名", 12),
          txt("工作单位", 20), txt("专业", 15), lng("技术职称ID"), txt("技术职称其他", 50), txt("遴选委员会职务", 6)}},
        {QStringLiteral("遴选单位信息"),
         {autoId(), txt("增选年度", 4), lng("遴选部门ID"), txt("单位名称", 100), txt("联系人", 30), txt("固定电话", 30),
          txt("手机", 20), txt("电子邮箱", 60), txt("传真", 30), txt("通讯地址", 200), txt("邮政编码", 10)}},
        {QStringLiteral("下发系统设置"), {key(txt("字段", 50)), txt("值", 255)}},
        {QStringLiteral("打印模板"), {key(txt("名称", 50)), bin("内容")}},
    };
}

// A dictionary: ID, 编码, 名称 and its own further columns.
TableDef dictionary(const QString& name, std::vector<ColumnDef> extra = {}, int nameLength = 100)
{
    TableDef table{name, {autoId(), txt(QStringLiteral("编码"), 20), txt(QStringLiteral("名称"), nameLength)}};
    for (ColumnDef& column : extra)
        table.columns.push_back(std::move(column));
    return table;
}

std::vector<TableDef> referenceTables()
{
    return {
        dictionary(QStringLiteral("增选年度"), {fix("增选年度", 4)}),
        dictionary(QStringLiteral("字典学部"), {fix("是否有效", 1)}),
        dictionary(QStringLiteral("字典年度学部"), {fix("增选年度", 4), lng("学部ID")}),
        dictionary(QStringLiteral("学部小组"), {fix("增选年度", 4), lng("学部ID"), order()}),
        dictionary(QStringLiteral("字典民族")),
        dictionary(QStringLiteral("字典国家")),
        dictionary(QStringLiteral("字典省市地区"), {lng("属地ID")}),
        dictionary(QStringLiteral("字典省市部委"), {lng("提名渠道ID"), lng("单位部门ID")}),
        dictionary(QStringLiteral("字典职称"), {fix("是否高级", 1)}),
        dictionary(QStringLiteral("字典学历")),
        dictionary(QStringLiteral("字典学位")),
        dictionary(QStringLiteral("字典党派")),
        dictionary(QStringLiteral("字典学科"), {lng("级别"), lng("父学科ID"), lng("学部ID")}),
        dictionary(QStringLiteral("字典提名渠道")),
        dictionary(QStringLiteral("字典单位性质")),
        dictionary(QStringLiteral("字典产业性质")),
        dictionary(QStringLiteral("字典单位部门")),
        dictionary(QStringLiteral("字典玄苑提名年份"), {fix("年", 4)}),
        dictionary(QStringLiteral("字典紫垣提名年份"), {fix("年", 4)}),
        {QStringLiteral("院士"),
         {autoId(), txt("编码", 20), txt("姓名", 30), fix("性别", 1), lng("学部ID"), fix("当选年份", 4),
          txt("专业", 50)}},
    };
}

std::vector<TableDef> buildTables()
{
    std::vector<TableDef> all = candidateTables();
    for (auto* part : {&selectionTables, &referenceTables}) {
        for (TableDef& table : (*part)())
            all.push_back(std::move(table));
    }
    return all;
}

std::vector<ViewDef> buildViews()
{
    return {
        {QStringLiteral("视图有效学部"),
         QStringLiteral("SELECT ID, 编码, 名称, 编码 || ' ' || 名称 AS 列表名 FROM 字典学部 WHERE 是否有效='是'")},
        {QStringLiteral("视图年度学部"),
         QStringLiteral("SELECT 字典学部.ID AS ID, 字典学部.编码 AS 编码, 字典学部.名称 AS 名称, "
                        "字典年度学部.增选年度 AS 增选年度, 字典学部.编码 || ' ' || 字典学部.名称 AS 列表名 "
                        "FROM 字典年度学部 INNER JOIN 字典学部 ON 字典年度学部.学部ID = 字典学部.ID")},
        {QStringLiteral("视图省市"), QStringLiteral("SELECT ID, 编码, 名称 FROM 字典省市地区 WHERE 属地ID IS NULL")},
        {QStringLiteral("视图省市部委"),
         QStringLiteral("SELECT ID, 编码, 名称, 提名渠道ID, 单位部门ID FROM 字典省市部委")},
        {QStringLiteral("视图高级职称"), QStringLiteral("SELECT ID, 编码, 名称 FROM 字典职称 WHERE 是否高级='是'")},
        {QStringLiteral("视图一级学科"),
         QStringLiteral("SELECT ID, 编码, 名称, 学部ID FROM 字典学科 WHERE 级别=1")},
        {QStringLiteral("视图二级学科"),
         QStringLiteral("SELECT ID, 编码, 名称, 父学科ID, 学部ID FROM 字典学科 WHERE 级别=2")},
        {QStringLiteral("视图三级学科"),
         QStringLiteral("SELECT ID, 编码, 名称, 父学科ID, 学部ID FROM 字典学科 WHERE 级别=3")},
    };
}

QString columnSql(const ColumnDef& column)
{
    const QString name = db::quoteIdentifier(column.name);
    QString sql = name + QLatin1Char(' ');
    switch (column.type) {
    case ColumnType::AutoNumber:
        return sql + QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnType::Long:
        sql += QStringLiteral("INTEGER");
        break;
    case ColumnType::Double:
        sql += QStringLiteral("REAL");
        break;
    case ColumnType::Text:
    case ColumnType::FixedText:
        sql += QStringLiteral("TEXT(%1) COLLATE NOCASE CONSTRAINT %2 CHECK (length(%2) <= %1)")
                   .arg(column.length)
                   .arg(name);
        break;
    case ColumnType::Memo:
        sql += QStringLiteral("TEXT COLLATE NOCASE");
        break;
    case ColumnType::DateTime:
        sql += QString::fromLatin1(db::kDateTimeDeclType);
        break;
    case ColumnType::Binary:
        sql += QStringLiteral("BLOB");
        break;
    }
    if (column.primaryKey)
        sql += QStringLiteral(" PRIMARY KEY NOT NULL");
    if (column.required)
        sql += QStringLiteral(" NOT NULL");
    if (!column.defaultSql.isEmpty())
        sql += QStringLiteral(" DEFAULT ") + column.defaultSql;
    return sql;
}

} // namespace

const ColumnDef* TableDef::column(const QString& name) const
{
    for (const ColumnDef& column : columns) {
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return &column;
    }
    return nullptr;
}

QStringList TableDef::columnNames() const
{
    QStringList names;
    for (const ColumnDef& column : columns)
        names << column.name;
    return names;
}

const std::vector<TableDef>& tables()
{
    static const std::vector<TableDef> all = buildTables();
    return all;
}

const std::vector<ViewDef>& views()
{
    static const std::vector<ViewDef> all = buildViews();
    return all;
}

const TableDef* findTable(const QString& name)
{
    for (const TableDef& table : tables()) {
        if (table.name == name)
            return &table;
    }
    return nullptr;
}

QString createTableSql(const TableDef& table)
{
    QStringList columns;
    for (const ColumnDef& column : table.columns)
        columns << QStringLiteral("  ") + columnSql(column);
    return QStringLiteral("CREATE TABLE %1 (\n%2\n)").arg(db::quoteIdentifier(table.name), columns.join(QStringLiteral(",\n")));
}

QString createViewSql(const ViewDef& view)
{
    return QStringLiteral("CREATE VIEW %1 AS %2").arg(db::quoteIdentifier(view.name), view.select);
}

void createSchema(db::Connection& connection)
{
    db::Transaction transaction(connection);
    for (const TableDef& table : tables())
        connection.execute(createTableSql(table));
    for (const ViewDef& view : views())
        connection.execute(createViewSql(view));
    transaction.commit();
}

const QStringList& candidateDetailTables()
{
    static const QStringList names = {
        QStringLiteral("候选人补充信息"), QStringLiteral("候选人发明专利"), QStringLiteral("候选人工作单位"),
        QStringLiteral("候选人科技奖项"), QStringLiteral("候选人联系信息"), QStringLiteral("候选人论文专著"),
        QStringLiteral("候选人社会职务"), QStringLiteral("候选人所属党派"), QStringLiteral("候选人提名院士"),
        QStringLiteral("候选人主要成果"), QStringLiteral("候选人主要兼职"), QStringLiteral("候选人主要经历"),
        QStringLiteral("候选人主要学历")};
    return names;
}

} // namespace data
