#include "candidates/page_candedit.h"

#include "app/action_button.h"
#include "app/message_box.h"
#include "candidates/base_tab.h"
#include "candidates/cand_add_logic.h"
#include "candidates/cand_dossier.h"
#include "data/global_data.h"
#include "db/field_bindings.h"
#include "db/table_copy.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <functional>

namespace candidates {

namespace {

// A tab whose own page is still to be written: an empty frame with its caption.
class TPendingTab : public TBaseTab
{
public:
    TPendingTab(QWidget* owner, const QVector<db::TableCopy*>& dataSets, const char* className, const QString& caption)
        : TBaseTab(owner, dataSets)
    {
        setObjectName(QString::fromLatin1(className));
        SetTabCaption(caption);
    }
};

// The caption of the nominators' opinion tab follows the candidate's nomination channel.
QString opinionTabCaption(const db::TableCopy& candidate)
{
    const QVariant channel = candidate.value(QStringLiteral("提名渠道ID"));
    if (channel.isNull())
        return {};
    switch (channel.toLongLong()) {
    case 1:
        return QStringLiteral("院士意见");
    case 2:
    case 5:
        return QStringLiteral("推荐意见");
    default:
        return {};
    }
}

using TabFactory = std::function<TBaseTab*(QWidget*, const QVector<db::TableCopy*>&, const db::TableCopy&)>;

TabFactory pending(const char* className, const char* caption)
{
    return [className, caption](QWidget* owner, const QVector<db::TableCopy*>& dataSets, const db::TableCopy&) {
        return new TPendingTab(owner, dataSets, className, QString::fromUtf8(caption));
    };
}

// The sixteen tabs in their order.
QVector<TabFactory> tabFactories()
{
    return {
        pending("TTabCandInfo", "基本资料"),
        pending("TTabContact", "联系方式"),
        pending("TTabCompany", "工作单位"),
        pending("TTabParty", "所属党派"),
        pending("TTabSchoolRecord", "主要学历"),
        pending("TTabExperience", "主要经历"),
        pending("TTabPartTimeJob", "主要兼职"),
        pending("TTabSocietyJob", "社会职务"),
        pending("TTabWord", "主要成就"),
        pending("TTabPrize", "科技奖项"),
        pending("TTabPatent", "发明专利"),
        pending("TTabPaper", "论文专著"),
        pending("TTabFruit", "重要成果"),
        pending("TTabPromise", "个人声明"),
        pending("TTabCompanySugg", "单位意见"),
        [](QWidget* owner, const QVector<db::TableCopy*>& dataSets, const db::TableCopy& candidate) {
            return new TPendingTab(owner, dataSets, "TTabSugg2", opinionTabCaption(candidate));
        },
    };
}

} // namespace

TPageCandEdit::TPageCandEdit(QWidget* owner, int tag)
    : TBasePage(owner, tag)
    , m_dossier(std::make_unique<CandidateDossier>(*data::GlobalData(), tag))
{
    m_dossier->load();

    ActionSave = CreateAction(QStringLiteral("ActionSave"), QStringLiteral("保存"), 0);
    ActionCancel = CreateAction(QStringLiteral("ActionCancel"), QStringLiteral("取消"), 1);
    connect(ActionSave, &QAction::triggered, this, &TPageCandEdit::ActionSaveExecute);
    connect(ActionCancel, &QAction::triggered, this, &TPageCandEdit::ActionCancelExecute);

    BuildHeader();
    PCCand = new QTabWidget(this);
    PCCand->setObjectName(QStringLiteral("PCCand"));
    PCCand->setUsesScrollButtons(true);
    CreateTabs();
    connect(PCCand, &QTabWidget::currentChanged, this, &TPageCandEdit::PCCandChange);

    BtnSave = new app::TActionButton(ActionSave, this);
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    BtnCancel = new app::TActionButton(ActionCancel, this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(PCCand, 1);
    layout->addLayout(RightAlignedButtons({BtnSave, BtnCancel}));
    UpdateActions();
}

TPageCandEdit::~TPageCandEdit() = default;

void TPageCandEdit::BuildHeader()
{
    db::TableCopy* candidate = &m_dossier->candidate();
    LabelReceiptNo = new QLabel(candidate->text(QStringLiteral("收文号")), this);
    LabelReceiptNo->setObjectName(QStringLiteral("LabelReceiptNo"));
    LabelReceiptNo->setVisible(false);

    TEName = new QLineEdit(this);
    TEName->setObjectName(QStringLiteral("TEName"));
    QLabel* nameLabel = CaptionLabel(QStringLiteral("姓名"), TEName, this);
    m_headerBindings << new db::LineEditBinding(candidate, QStringLiteral("姓名"), TEName, removeSpaces);

    LCBPretendDep = new QComboBox(this);
    LCBPretendDep->setObjectName(QStringLiteral("LCBPretendDep"));
    LCBPretendDep->setMaxVisibleItems(9);
    FillComboBox(LCBPretendDep, QStringLiteral("SELECT ID, 名称 AS Name FROM 字典学部 ORDER BY 编码"), QString());
    QLabel* divisionLabel = CaptionLabel(QStringLiteral("拟提名学部"), LCBPretendDep, this);
    m_headerBindings << new db::LookupBinding(candidate, QStringLiteral("拟提名学部ID"), LCBPretendDep);

    auto* header = new QHBoxLayout;
    header->addWidget(LabelReceiptNo);
    header->addWidget(nameLabel);
    header->addWidget(TEName);
    header->addWidget(divisionLabel);
    header->addWidget(LCBPretendDep, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
}

void TPageCandEdit::CreateTabs()
{
    QVector<db::TableCopy*> dataSets(m_dossier->copies().begin(), m_dossier->copies().end());
    dataSets.resize(100); // the editor hands its tabs a list of 100 slots
    for (const TabFactory& create : tabFactories()) {
        auto* sheet = new QWidget(PCCand);
        auto* sheetLayout = new QVBoxLayout(sheet);
        sheetLayout->setContentsMargins(0, 0, 0, 0);
        TBaseTab* tab = create(sheet, dataSets, m_dossier->candidate());
        sheetLayout->addWidget(tab);
        PCCand->addTab(sheet, tab->TabCaption());
        m_tabs << tab;
    }
}

void TPageCandEdit::PCCandChange(int index)
{
    if (index >= 0 && index < m_tabs.size())
        m_tabs[index]->TabActived();
}

bool TPageCandEdit::ActionSaveUpdate() const
{
    if (m_dossier->hasPendingChanges())
        return true;
    for (const TBaseTab* tab : m_tabs) {
        if (tab->ValueModified())
            return true;
    }
    for (const db::FieldBinding* binding : m_headerBindings) {
        if (binding->isUserModified())
            return true;
    }
    return false;
}

void TPageCandEdit::UpdateActions()
{
    const bool unsaved = ActionSaveUpdate();
    ActionSave->setEnabled(unsaved);
    ActionCancel->setEnabled(unsaved);
    for (TBaseTab* tab : m_tabs)
        tab->UpdateActions();
}

void TPageCandEdit::CommitEditors()
{
    for (db::FieldBinding* binding : m_headerBindings)
        binding->commit();
    for (TBaseTab* tab : m_tabs)
        tab->CommitEditors();
}

void TPageCandEdit::ActionSaveExecute()
{
    CommitEditors();
    for (const QString& message : m_dossier->save())
        app::MessageBox::error(message);
    UpdateActions();
}

void TPageCandEdit::ActionCancelExecute()
{
    m_dossier->cancel();
    for (db::FieldBinding* binding : m_headerBindings)
        binding->load();
    for (TBaseTab* tab : m_tabs)
        tab->RevertEditors();
    UpdateActions();
}

bool TPageCandEdit::CloseQuery()
{
    if (!ActionSaveUpdate())
        return true;
    return app::MessageBox::warning(QStringLiteral("候选人信息尚未保存，要继续吗？"));
}

} // namespace candidates
