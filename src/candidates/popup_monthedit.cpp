#include "candidates/popup_monthedit.h"

#include "candidates/list_actions.h"
#include "db/field_bindings.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace candidates {

TMonthEdit::TMonthEdit(QWidget* parent, int tag)
    : QLineEdit(parent)
    , m_tag(tag)
{
    setMaxLength(10);
    QAction* drop = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    drop->setText(QStringLiteral("选择年月"));
    connect(drop, &QAction::triggered, this, &TMonthEdit::dropDown);
}

void TMonthEdit::dropDown()
{
    PopUpMonthEdit()->MonthPopupEditPropertiesPopup(this);
}

TPopUpMonthEdit::TPopUpMonthEdit(QWidget* parent)
    : QFrame(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("PopUpMonthEdit"));
    setFrameShape(QFrame::StyledPanel);
    BtnUntilNow = new QPushButton(kUntilNow, this);
    BtnUntilNow->setObjectName(QStringLiteral("BtnUntilNow"));
    connect(BtnUntilNow, &QPushButton::clicked, this, &TPopUpMonthEdit::BtnUntilNowClick);

    SEYear = new QSpinBox(this);
    SEYear->setObjectName(QStringLiteral("SEYear"));
    SEYear->setRange(1900, QDate::currentDate().year());
    SEYear->setValue(2000);
    auto* yearLabel = new QLabel(QStringLiteral("年"), this);
    yearLabel->setBuddy(SEYear);
    SEYear->setAccessibleName(QStringLiteral("年"));
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(SEYear, 1);
    yearRow->addWidget(yearLabel);

    auto* months = new QGridLayout;
    for (int month = 1; month <= 12; ++month) {
        auto* button = new QPushButton(QStringLiteral("%1月").arg(month), this);
        button->setObjectName(QStringLiteral("cxButton%1").arg(month));
        connect(button, &QPushButton::clicked, this, [this, month] { BtnMonthClick(month); });
        months->addWidget(button, (month - 1) / 3, (month - 1) % 3);
        m_months << button;
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BtnUntilNow);
    layout->addLayout(yearRow);
    layout->addLayout(months);
}

void TPopUpMonthEdit::MonthPopupEditPropertiesPopup(TMonthEdit* edit)
{
    m_edit = edit;
    BtnUntilNow->setVisible(edit->tag() == 1);
    SEYear->setMaximum(QDate::currentDate().year());
    SEYear->setValue(monthPickerYear(edit->text()));
    adjustSize();
    move(edit->mapToGlobal(QPoint(0, edit->height())));
    show();
    SEYear->setFocus();
}

void TPopUpMonthEdit::BtnMonthClick(int month)
{
    SetEditValue(formatMonth(SEYear->value(), month));
}

void TPopUpMonthEdit::BtnUntilNowClick()
{
    SetEditValue(kUntilNow);
}

// A bound field takes the value as the user's own change; an unbound one just shows it.
void TPopUpMonthEdit::SetEditValue(const QString& value)
{
    hide();
    if (!m_edit)
        return;
    if (auto* binding = m_edit->findChild<db::FieldBinding*>(QString(), Qt::FindDirectChildrenOnly))
        binding->applyUserValue(value);
    else
        m_edit->setText(value);
    m_edit->setFocus();
}

TPopUpMonthEdit* PopUpMonthEdit()
{
    static QPointer<TPopUpMonthEdit> picker;
    if (!picker)
        picker = new TPopUpMonthEdit;
    return picker;
}

} // namespace candidates
