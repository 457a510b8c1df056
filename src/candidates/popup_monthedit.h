#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QPointer>

class QPushButton;
class QSpinBox;

namespace candidates {

// A month field: a text box whose drop-down button opens the shared month picker. Tag 1 marks an
// end month, for which the picker also offers "至今".
class TMonthEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TMonthEdit(QWidget* parent = nullptr, int tag = 0);

    int tag() const { return m_tag; }
    void dropDown();

private:
    int m_tag;
};

// The month picker: one pop-up shared by every month field. It offers a year and the twelve
// months, and "至今" for end months; a choice is written into the field's column as typed by the user.
class TPopUpMonthEdit : public QFrame
{
    Q_OBJECT
public:
    explicit TPopUpMonthEdit(QWidget* parent = nullptr);

    // Opens under the field, at the year of its value (2000 when it holds none).
    void MonthPopupEditPropertiesPopup(TMonthEdit* edit);

    QPushButton* BtnUntilNow = nullptr;
    QSpinBox* SEYear = nullptr;
    QPushButton* MonthButton(int month) const { return m_months.value(month - 1); }

private:
    void BtnMonthClick(int month);
    void BtnUntilNowClick();
    void SetEditValue(const QString& value);

    QList<QPushButton*> m_months;
    QPointer<TMonthEdit> m_edit;
};

// The picker of the running program, created on first use.
TPopUpMonthEdit* PopUpMonthEdit();

} // namespace candidates
