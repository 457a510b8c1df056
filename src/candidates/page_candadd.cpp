#include "candidates/page_candadd.h"

#include "app/action_button.h"
#include "app/form_main.h"
#include "app/message_box.h"
#include "candidates/cand_add_logic.h"
#include "data/global_data.h"
#include "db/date_edit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace candidates {

namespace {

// Removes spaces as the user types, keeping the cursor after the same characters.
void removeSpacesWhileTyping(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        const QString cleaned = removeSpaces(text);
        if (cleaned == text)
            return;
        const int cursor = removeSpaces(text.left(edit->cursorPosition())).size();
        edit->setText(cleaned);
        edit->setCursorPosition(cursor);
    });
}

} // namespace

void TCloseUpComboBox::hidePopup()
{
    QComboBox::hidePopup();
    Q_EMIT closedUp();
}

TPageCandAdd::TPageCandAdd(QWidget* owner, int tag)
    : TBasePage(owner, tag)
{
    ActionSave = CreateAction(QStringLiteral("ActionSave"), QStringLiteral("保存并继续"), 0);
    ActionCancel = CreateAction(QStringLiteral("ActionCancel"), QStringLiteral("取消新增"), 1);
    connect(ActionSave, &QAction::triggered, this, &TPageCandAdd::ActionSaveExecute);
    connect(ActionCancel, &QAction::triggered, this, &TPageCandAdd::ActionCancelExecute);
    BuildLayout();
    CBIDType->setCurrentText(kIdCard);
    QTimer::singleShot(0, TEName, [this] { TEName->setFocus(); }); // once the page is shown
    UpdateActions();
}

void TPageCandAdd::BuildLayout()
{
    auto* group = new QGroupBox(QStringLiteral("新增候选人"), this);

    TEName = new QLineEdit(group);
    TEName->setObjectName(QStringLiteral("TEName"));
    TEName->setMaxLength(30);
    removeSpacesWhileTyping(TEName);

    CBGender = new QComboBox(group);
    CBGender->setObjectName(QStringLiteral("CBGender"));
    CBGender->addItems({QStringLiteral("男"), QStringLiteral("女")});
    CBGender->setCurrentIndex(-1);

    DEBirthday = new db::NullableDateEdit(group);
    DEBirthday->setObjectName(QStringLiteral("DEBirthday"));
    DEBirthday->setPopupButtonsVisible(false);
    DEBirthday->setEmptyPopupDate(QDate(1950, 1, 1));
    DEBirthday->setInvalidInputWarning(false); // an unreadable birth date just becomes empty

    CBIDType = new TCloseUpComboBox(group);
    CBIDType->setObjectName(QStringLiteral("CBIDType"));
    CBIDType->setEditable(true);
    CBIDType->addItem(kIdCard);
    CBIDType->lineEdit()->setMaxLength(10);
    connect(CBIDType, &TCloseUpComboBox::closedUp, this, &TPageCandAdd::CBIDTypePropertiesCloseUp);

    TEIDNumber = new QLineEdit(group);
    TEIDNumber->setObjectName(QStringLiteral("TEIDNumber"));
    TEIDNumber->setMaxLength(30);
    removeSpacesWhileTyping(TEIDNumber);

    LCBDep = new QComboBox(group);
    LCBDep->setObjectName(QStringLiteral("LCBDep"));
    LCBDep->setMaxVisibleItems(9);
    FillComboBox(LCBDep, QStringLiteral("SELECT ID, 名称 AS Name FROM 视图有效学部 ORDER BY 编码"), QString());
    LCBDep->setCurrentIndex(-1);

    auto* grid = new QGridLayout(group);
    grid->addWidget(CaptionLabel(QStringLiteral("姓名*"), TEName, group), 0, 0);
    grid->addWidget(TEName, 0, 1);
    grid->addWidget(CaptionLabel(QStringLiteral("性别*"), CBGender, group), 0, 2);
    grid->addWidget(CBGender, 0, 3);
    grid->addWidget(CaptionLabel(QStringLiteral("出生日期（公历）*"), DEBirthday, group), 0, 4);
    grid->addWidget(DEBirthday, 0, 5);
    grid->addWidget(CaptionLabel(QStringLiteral("证件类型*"), CBIDType, group), 1, 0);
    grid->addWidget(CBIDType, 1, 1);
    grid->addWidget(CaptionLabel(QStringLiteral("证件号码*"), TEIDNumber, group), 1, 2);
    grid->addWidget(TEIDNumber, 1, 3, 1, 3);
    grid->addWidget(CaptionLabel(QStringLiteral("拟提名学部*"), LCBDep, group), 2, 0);
    grid->addWidget(LCBDep, 2, 1, 1, 5);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 2);

    ButtonSaveContinue = new app::TActionButton(ActionSave, group);
    ButtonSaveContinue->setObjectName(QStringLiteral("ButtonSaveContinue"));
    ButtonCancelAdd = new app::TActionButton(ActionCancel, group);
    ButtonCancelAdd->setObjectName(QStringLiteral("ButtonCancelAdd"));
    grid->addLayout(RightAlignedButtons({ButtonSaveContinue, ButtonCancelAdd}), 3, 0, 1, 6);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
}

NewCandidate TPageCandAdd::Entered() const
{
    NewCandidate candidate;
    candidate.name = TEName->text();
    candidate.gender = CBGender->currentText();
    candidate.birthday = db::NullableDateEdit::parse(DEBirthday->lineEdit()->text()); // as it stands in the box
    candidate.idType = CBIDType->currentText();
    candidate.idNumber = TEIDNumber->text();
    candidate.departmentId = LCBDep->currentIndex() >= 0 ? LCBDep->currentData().toLongLong() : 0;
    return candidate;
}

bool TPageCandAdd::ActionSaveUpdate() const
{
    return Entered().isComplete();
}

void TPageCandAdd::UpdateActions()
{
    ActionSave->setEnabled(ActionSaveUpdate());
}

void TPageCandAdd::CBIDTypePropertiesCloseUp()
{
    if (CBIDType->currentText() != kIdCard)
        app::MessageBox::notice(QStringLiteral("如有身份证，请首选身份证"));
}

void TPageCandAdd::ActionSaveExecute()
{
    NewCandidate candidate = Entered();
    if (!candidate.isComplete())
        return;
    if (candidate.needsIdLengthWarning())
        app::MessageBox::notice(QStringLiteral("提示:身份证号码长度非18位，请核实"));
    candidate.idNumber = candidate.idNumber.trimmed();
    TEIDNumber->setText(candidate.idNumber);

    CandidateCreator creator(*data::GlobalData());
    if (creator.isDuplicate(candidate.idNumber)) {
        app::MessageBox::error(QStringLiteral("身份证件号 %1 已存在，请勿重复添加候选人！").arg(candidate.idNumber));
        return;
    }
    const qint64 id = creator.create(candidate);
    app::FormMain()->NewPage(QStringLiteral("编辑候选人"), static_cast<int>(id), false);
}

void TPageCandAdd::ActionCancelExecute()
{
    app::FormMain()->NewPage(QStringLiteral("候选人列表"), 0, false);
}

} // namespace candidates
