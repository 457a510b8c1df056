#include "data/page_setup.h"

#include "app/action_button.h"
#include "app/form_main.h"
#include "app/message_box.h"
#include "data/global_data.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace data {

namespace {

const QString kUnitNameSetting = QStringLiteral("推荐单位名称");
const QString kPersonSetting = QStringLiteral("推荐单位负责人");

struct ChannelCaptions
{
    QString checkBox;
    QString unitName;
};

ChannelCaptions captionsFor(qint64 channel)
{
    if (channel == 5)
        return {QStringLiteral("推荐部门（单位）"), QStringLiteral("推荐部门（单位）名称")};
    return {QStringLiteral("学术团体"), QStringLiteral("学术团体名称")};
}

} // namespace

TPageSetup::TPageSetup(QWidget* owner, int tag)
    : TBasePage(owner, tag)
    , m_logic(*GlobalData())
{
    setObjectName(QStringLiteral("PageSetup"));
    BuildLayout();
    LoadSettings();
}

void TPageSetup::BuildLayout()
{
    LabelYear = new QLabel(this);
    LabelYear->setObjectName(QStringLiteral("LabelYear"));
    QFont yearFont(QStringLiteral("Times New Roman"));
    yearFont.setPixelSize(16);
    yearFont.setBold(true);
    LabelYear->setFont(yearFont);
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(LabelYear);
    yearRow->addWidget(new QLabel(QStringLiteral("年"), this));
    yearRow->addStretch();

    CBSelectChannel = new QComboBox(this);
    CBSelectChannel->setObjectName(QStringLiteral("CBSelectChannel"));
    CBSelectChannel->setMaxVisibleItems(5);
    connect(CBSelectChannel, &QComboBox::currentIndexChanged, this,
            &TPageSetup::CBSelectChannelPropertiesEditValueChanged);

    CBSelectDept = new QComboBox(this);
    CBSelectDept->setObjectName(QStringLiteral("CBSelectDept"));
    CBSelectDept->setAccessibleName(QStringLiteral("遴选部门"));
    CBSelectDept->setEnabled(false);

    chkNamedUnit = new QCheckBox(QStringLiteral("学术团体或推荐部门（单位）"), this);
    chkNamedUnit->setObjectName(QStringLiteral("chkNamedUnit"));
    connect(chkNamedUnit, &QCheckBox::clicked, this, &TPageSetup::chkNamedUnitClick);

    TEDepName = new QLineEdit(this);
    TEDepName->setObjectName(QStringLiteral("TEDepName"));
    TEDepName->setMaxLength(50);
    TEDepInCharge = new QLineEdit(this);
    TEDepInCharge->setObjectName(QStringLiteral("TEDepInCharge"));
    TEDepInCharge->setMaxLength(20);
    GroupUnit = new QGroupBox(this);
    GroupUnit->setObjectName(QStringLiteral("GroupUnit"));
    auto* unitForm = new QFormLayout(GroupUnit);
    LabelDepName = new QLabel(QStringLiteral("推荐单位名称"), GroupUnit);
    LabelDepName->setObjectName(QStringLiteral("LabelDepName"));
    LabelDepName->setBuddy(TEDepName);
    unitForm->addRow(LabelDepName, TEDepName);
    unitForm->addRow(QStringLiteral("负责人"), TEDepInCharge);

    GroupSetup = new QGroupBox(QStringLiteral("提名设置"), this);
    GroupSetup->setObjectName(QStringLiteral("GroupSetup"));
    m_form = new QFormLayout(GroupSetup);
    m_form->addRow(QStringLiteral("提名年度"), yearRow);
    m_form->addRow(QStringLiteral("提名渠道"), CBSelectChannel);
    m_form->addRow(QStringLiteral("    "), CBSelectDept);
    m_form->addRow(chkNamedUnit);
    m_form->addRow(GroupUnit);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(GroupSetup, 1);
    layout->addWidget(BuildButtons(), 0, Qt::AlignTop);
    setMinimumWidth(560);
}

QWidget* TPageSetup::BuildButtons()
{
    ActionSave = CreateAction(QStringLiteral("ActionSave"), QStringLiteral("保存"), 0);
    connect(ActionSave, &QAction::triggered, this, &TPageSetup::ActionSaveExecute);
    ActionCancel = CreateAction(QStringLiteral("ActionCancel"), QStringLiteral("取消"), 1);
    connect(ActionCancel, &QAction::triggered, this, &TPageSetup::ActionCancelExecute);

    auto* buttons = new QWidget(this);
    BtnSave = new app::TActionButton(ActionSave, buttons);
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    BtnCancel = new app::TActionButton(ActionCancel, buttons);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    auto* column = new QVBoxLayout(buttons);
    column->setContentsMargins(0, 8, 0, 0);
    column->addWidget(BtnSave);
    column->addWidget(BtnCancel);
    return buttons;
}

void TPageSetup::LoadSettings()
{
    const qint64 storedChannel = m_logic.StoredChannel();
    chkNamedUnit->setChecked(m_logic.StoredNamedUnit());
    LabelYear->setText(m_logic.NominationYear());

    {
        const QSignalBlocker blocker(CBSelectChannel);
        for (const SetupItem& channel : m_logic.LoadChannels())
            CBSelectChannel->addItem(channel.name, channel.id);
        SelectItemWithId(CBSelectChannel, storedChannel);
    }
    CBSelectChannelPropertiesEditValueChanged();

    TEDepName->setText(m_logic.Setting(kUnitNameSetting));
    TEDepInCharge->setText(m_logic.Setting(kPersonSetting));
}

void TPageSetup::SelectItemWithId(QComboBox* list, qint64 id)
{
    const int index = list->findData(id);
    list->setCurrentIndex(index >= 0 ? index : (list->count() > 0 ? 0 : -1));
}

qint64 TPageSetup::SelectedChannel() const
{
    return CBSelectChannel->currentData().toLongLong();
}

void TPageSetup::CBSelectChannelPropertiesEditValueChanged()
{
    const qint64 channel = SelectedChannel();
    const bool academicians = channel == TSetupLogic::kAcademicianChannel;
    CBSelectDept->clear();
    chkNamedUnit->setEnabled(!academicians);

    m_form->setRowVisible(CBSelectDept, !academicians);
    m_form->setRowVisible(chkNamedUnit, !academicians);
    m_form->setRowVisible(GroupUnit, !academicians);
    if (!academicians) {
        const ChannelCaptions captions = captionsFor(channel);
        chkNamedUnit->setText(captions.checkBox);
        LabelDepName->setText(captions.unitName);
    }
    chkNamedUnitClick();

    if (!academicians) {
        for (const SetupItem& department : m_logic.LoadDepartments(channel))
            CBSelectDept->addItem(department.name, department.id);
        SelectItemWithId(CBSelectDept, m_logic.StoredDepartment());
    }
    CBSelectDept->setEnabled(false);
}

void TPageSetup::chkNamedUnitClick()
{
    const bool editable = SelectedChannel() != TSetupLogic::kAcademicianChannel && chkNamedUnit->isChecked();
    TEDepName->setEnabled(editable);
    TEDepInCharge->setEnabled(editable);
}

void TPageSetup::ActionSaveExecute()
{
    SetupChoice choice;
    choice.channel = SelectedChannel();
    if (CBSelectDept->currentIndex() >= 0)
        choice.department = CBSelectDept->currentData().toLongLong();
    choice.namedUnit = chkNamedUnit->isChecked();
    choice.unitName = TEDepName->text();
    choice.personInCharge = TEDepInCharge->text();

    const auto confirm = [] { return app::MessageBox::warning(QStringLiteral("您确定信息应用到所有候选人？")); };
    if (m_logic.Save(choice, confirm) == TSetupLogic::SaveResult::Incomplete) {
        app::MessageBox::error(QStringLiteral("请填写完整各项信息"));
        return;
    }
    if (app::TFormMain* main = app::FormMain())
        main->UpdateInterfaceForUserChange();
    CloseDialog(QDialog::Accepted);
}

void TPageSetup::ActionCancelExecute()
{
    CloseDialog(QDialog::Rejected);
}

} // namespace data
