#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QFrame;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace db {

// A date box that can be empty: a text box (yyyy-MM-dd) with a calendar drop-down. Typed text is
// checked when the box is left: a date in one of the usual forms is taken; anything else empties
// the box, is reported through invalidInput() and, unless switched off, tells the user
// "您输入日期不正确".
class NullableDateEdit : public QWidget
{
    Q_OBJECT
public:
    explicit NullableDateEdit(QWidget* parent = nullptr);

    QDate date() const { return m_date; }
    void setDate(const QDate& date);
    void clear() { setDate({}); }

    // The calendar's "今天" and "清空" buttons.
    void setPopupButtonsVisible(bool visible);
    // The month the calendar opens at while the box is empty.
    void setEmptyPopupDate(const QDate& date) { m_emptyPopupDate = date; }
    // Whether a date that cannot be read is reported to the user (it always empties the box).
    void setInvalidInputWarning(bool warn) { m_warnInvalid = warn; }

    QLineEdit* lineEdit() const { return m_edit; }
    void showPopup();
    void hidePopup();
    QCalendarWidget* calendar() const { return m_calendar; }

    // Parses the forms users type: 2016-03-05, 2016/3/5, 2016.3.5, 20160305.
    static QDate parse(const QString& text);

Q_SIGNALS:
    // The user changed the date (typing finished, a calendar choice, today or clear).
    void dateEdited(const QDate& date);
    // The typed text was not a date.
    void invalidInput(const QString& text);

private:
    void commitTyped();
    void choose(const QDate& date);

    QLineEdit* m_edit;
    QToolButton* m_button;
    QFrame* m_popup;
    QCalendarWidget* m_calendar;
    QPushButton* m_today;
    QPushButton* m_clear;
    QDate m_date;
    QDate m_emptyPopupDate;
    bool m_warnInvalid = true;
};

} // namespace db
