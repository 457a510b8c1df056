#include "candidates/base_tab.h"

#include "app/image_lists.h"
#include "candidates/list_actions.h"
#include "db/field_bindings.h"
#include "db/table_copy.h"

#include <QAction>
#include <QComboBox>
#include <QDate>

namespace candidates {

namespace {

QAction* createAction(QObject* owner, const char* name, const QString& caption, int image)
{
    auto* action = new QAction(app::SmallImages().icon(image), caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TBaseTab::TBaseTab(QWidget* owner, const QVector<db::TableCopy*>& dataSets)
    : QFrame(owner)
    , m_dataSets(dataSets)
{
    BaseActionAppend = createAction(this, "BaseActionAppend", QStringLiteral("增加"), 2);
    BaseActionDelete = createAction(this, "BaseActionDelete", QStringLiteral("删除"), 3);
    BaseActionMoveUp = createAction(this, "BaseActionMoveUp", QStringLiteral("上移"), 8);
    BaseActionMoveDown = createAction(this, "BaseActionMoveDown", QStringLiteral("下移"), 9);
    connect(BaseActionAppend, &QAction::triggered, this, &TBaseTab::BaseActionAppendExecute);
    connect(BaseActionDelete, &QAction::triggered, this, &TBaseTab::BaseActionDeleteExecute);
    connect(BaseActionMoveUp, &QAction::triggered, this, &TBaseTab::BaseActionMoveUpExecute);
    connect(BaseActionMoveDown, &QAction::triggered, this, &TBaseTab::BaseActionMoveDownExecute);
    UpdateActions();
}

TBaseTab::~TBaseTab() = default;

db::TableCopy* TBaseTab::DataSet(const QString& dataSourceName) const
{
    const QString wanted = QStringLiteral("CDS") + dataSourceName.mid(2);
    for (db::TableCopy* table : m_dataSets) {
        if (table && table->objectName() == wanted)
            return table;
    }
    return nullptr;
}

void TBaseTab::SetTabDataSet(db::TableCopy* table, int maxRecord)
{
    FTabDataSet = table;
    FMaxRecord = maxRecord;
    m_listActions = table ? std::make_unique<ListActions>(*table, maxRecord) : nullptr;
    UpdateActions();
}

bool TBaseTab::ValueModified() const
{
    for (const db::FieldBinding* binding : m_bindings) {
        if (binding->isUserModified())
            return true;
    }
    return false;
}

void TBaseTab::CommitEditors()
{
    for (db::FieldBinding* binding : m_bindings)
        binding->commit();
}

void TBaseTab::RevertEditors()
{
    for (db::FieldBinding* binding : m_bindings)
        binding->load();
}

void TBaseTab::UpdateActions()
{
    BaseActionAppend->setEnabled(m_listActions && m_listActions->canAppend());
    BaseActionDelete->setEnabled(m_listActions && m_listActions->canDelete());
    BaseActionMoveUp->setEnabled(m_listActions && m_listActions->canMoveUp());
    BaseActionMoveDown->setEnabled(m_listActions && m_listActions->canMoveDown());
}

void TBaseTab::FillYearList(QComboBox* combo)
{
    combo->addItems(yearList(QDate::currentDate().year()));
}

// Each action checks its own rule again: the idle update may be up to a moment old.
void TBaseTab::BaseActionAppendExecute()
{
    CommitEditors();
    if (m_listActions && m_listActions->canAppend())
        m_listActions->append();
    UpdateActions();
}

void TBaseTab::BaseActionDeleteExecute()
{
    CommitEditors();
    if (m_listActions && m_listActions->canDelete())
        m_listActions->deleteCurrent();
    UpdateActions();
}

void TBaseTab::BaseActionMoveUpExecute()
{
    CommitEditors();
    if (m_listActions && m_listActions->canMoveUp())
        m_listActions->moveUp();
    UpdateActions();
}

void TBaseTab::BaseActionMoveDownExecute()
{
    CommitEditors();
    if (m_listActions && m_listActions->canMoveDown())
        m_listActions->moveDown();
    UpdateActions();
}

} // namespace candidates
