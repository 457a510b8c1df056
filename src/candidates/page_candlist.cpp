#include "candidates/page_candlist.h"

#include "app/action_button.h"
#include "app/form_main.h"
#include "app/message_box.h"
#include "candidates/cand_list_logic.h"
#include "data/global_data.h"
#include "db/query.h"
#include "db/row_source_model.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QVBoxLayout>

namespace candidates {

namespace {

// Division names by key, read once: looked-up columns never follow a filtered shared query.
QHash<qint64, QString> divisionNames()
{
    QHash<qint64, QString> names;
    db::Query divisions(&data::GlobalData()->connection());
    divisions.setSql(QStringLiteral("SELECT ID, 名称 FROM 视图有效学部"));
    divisions.open();
    for (divisions.first(); !divisions.eof(); divisions.next())
        names.insert(divisions.field(0).asInteger(), divisions.field(1).asString());
    return names;
}

} // namespace

TPageCandList::TPageCandList(QWidget* owner, int tag)
    : TBasePage(owner, tag)
{
    QueryCandList = new db::Query(&data::GlobalData()->connection(), this);
    QueryCandList->setObjectName(QStringLiteral("QueryCandList"));
    QueryCandList->setSqlLines(candidateListSql());
    const QHash<qint64, QString> names = divisionNames();
    QueryCandList->addLookupField(QStringLiteral("拟提名学部"), QStringLiteral("拟提名学部ID"), [names](const QVariant& key) {
        return key.isNull() ? QVariant() : QVariant(names.value(key.toLongLong()));
    });

    ActionAdd = CreateAction(QStringLiteral("ActionAdd"), QStringLiteral("新增"), 2);
    ActionEdit = CreateAction(QStringLiteral("ActionEdit"), QStringLiteral("编辑"), 10);
    ActionDelete = CreateAction(QStringLiteral("ActionDelete"), QStringLiteral("删除"), 3);
    connect(ActionAdd, &QAction::triggered, this, &TPageCandList::ActionAddExecute);
    connect(ActionEdit, &QAction::triggered, this, &TPageCandList::ActionEditExecute);
    connect(ActionDelete, &QAction::triggered, this, &TPageCandList::ActionDeleteExecute);

    BuildLayout();
    QueryCandList->open();
    UpdateActions();
}

void TPageCandList::BuildLayout()
{
    auto* group = new QGroupBox(QStringLiteral("候选人列表"), this);
    DBGrid1 = new QTableView(group);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("候选人列表"));
    m_model = new db::RowSourceModel(QueryCandList,
                                     {{QStringLiteral("姓名"), {}, 10},
                                      {QStringLiteral("性别")},
                                      {QStringLiteral("出生日期"), {}, 10},
                                      {QStringLiteral("证件类型")},
                                      {QStringLiteral("证件号码"), {}, 18},
                                      {QStringLiteral("拟提名学部"), {}, 28}},
                                     this);
    auto* binding = new db::GridBinding(DBGrid1, m_model);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    binding->applyColumnWidths();
    connect(DBGrid1, &QTableView::doubleClicked, this, &TPageCandList::DBGrid1DblClick);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(DBGrid1);

    cxButtonClear = new QPushButton(QStringLiteral("清空数据"), this);
    cxButtonClear->setObjectName(QStringLiteral("cxButtonClear"));
    connect(cxButtonClear, &QPushButton::clicked, this, &TPageCandList::cxButtonClearClick);
    cxButton1 = new app::TActionButton(ActionAdd, this);
    cxButton1->setObjectName(QStringLiteral("cxButton1"));
    BtnEdit = new app::TActionButton(ActionEdit, this);
    BtnEdit->setObjectName(QStringLiteral("BtnEdit"));
    BtnDelete = new app::TActionButton(ActionDelete, this);
    BtnDelete->setObjectName(QStringLiteral("BtnDelete"));

    QHBoxLayout* buttons = RightAlignedButtons({cxButton1, BtnEdit, BtnDelete});
    buttons->insertWidget(0, cxButtonClear);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
}

// Editing and deleting need a row and the focus on the grid or on their own buttons.
bool TPageCandList::ActionEditUpdate() const
{
    if (QueryCandList->isEmpty())
        return false;
    const QWidget* focus = QApplication::focusWidget();
    return focus == DBGrid1 || focus == BtnEdit || focus == BtnDelete;
}

void TPageCandList::UpdateActions()
{
    const bool enabled = ActionEditUpdate();
    ActionEdit->setEnabled(enabled);
    ActionDelete->setEnabled(enabled);
}

void TPageCandList::ActionAddExecute()
{
    app::FormMain()->NewPage(QStringLiteral("新增候选人"), 0, false);
}

void TPageCandList::ActionEditExecute()
{
    if (QueryCandList->isEmpty())
        return;
    const qint64 id = QueryCandList->field(QStringLiteral("ID")).asInteger();
    app::FormMain()->NewPage(QStringLiteral("编辑候选人"), static_cast<int>(id), false);
}

void TPageCandList::DBGrid1DblClick()
{
    if (!QueryCandList->isEmpty())
        ActionEditExecute();
}

void TPageCandList::ReopenList()
{
    QueryCandList->close();
    QueryCandList->open();
}

void TPageCandList::ActionDeleteExecute()
{
    const auto focusGrid = qScopeGuard([this] { DBGrid1->setFocus(); });
    if (QueryCandList->isEmpty())
        return;
    if (!app::MessageBox::warning(QStringLiteral("是否确认删除此候选人？")))
        return;
    softDeleteCandidate(data::GlobalData()->connection(), QueryCandList->field(QStringLiteral("ID")).asInteger());
    ReopenList();
}

void TPageCandList::cxButtonClearClick()
{
    const auto focusGrid = qScopeGuard([this] { DBGrid1->setFocus(); });
    if (!app::MessageBox::warning(QStringLiteral("是否确认清空所有候选人数据？")))
        return;
    clearAllCandidateData(data::GlobalData()->connection());
    ReopenList();
}

} // namespace candidates
