#include "db/date_edit.h"

#include "app/message_box.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace db {

namespace {

const QString kDisplayFormat = QStringLiteral("yyyy-MM-dd");

} // namespace

NullableDateEdit::NullableDateEdit(QWidget* parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_button(new QToolButton(this))
    , m_popup(new QFrame(this, Qt::Popup))
    , m_calendar(new QCalendarWidget(m_popup))
    , m_today(new QPushButton(QStringLiteral("今天"), m_popup))
    , m_clear(new QPushButton(QStringLiteral("清空"), m_popup))
{
    m_edit->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    m_button->setArrowType(Qt::DownArrow);
    m_button->setAccessibleName(QStringLiteral("选择日期"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    setFocusProxy(m_edit);

    m_popup->setFrameShape(QFrame::StyledPanel);
    auto* popupLayout = new QVBoxLayout(m_popup);
    popupLayout->addWidget(m_calendar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_today);
    buttons->addWidget(m_clear);
    popupLayout->addLayout(buttons);

    connect(m_button, &QToolButton::clicked, this, &NullableDateEdit::showPopup);
    connect(m_edit, &QLineEdit::editingFinished, this, &NullableDateEdit::commitTyped);
    connect(m_calendar, &QCalendarWidget::clicked, this, &NullableDateEdit::choose);
    connect(m_calendar, &QCalendarWidget::activated, this, &NullableDateEdit::choose);
    connect(m_today, &QPushButton::clicked, this, [this] { choose(QDate::currentDate()); });
    connect(m_clear, &QPushButton::clicked, this, [this] { choose({}); });
}

QDate NullableDateEdit::parse(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (const char* format : {"yyyy-MM-dd", "yyyy-M-d", "yyyy/M/d", "yyyy.M.d", "yyyyMMdd"}) {
        const QDate date = QDate::fromString(trimmed, QString::fromLatin1(format));
        if (date.isValid())
            return date;
    }
    return {};
}

void NullableDateEdit::setDate(const QDate& date)
{
    m_date = date.isValid() ? date : QDate();
    const QString text = m_date.isValid() ? m_date.toString(kDisplayFormat) : QString();
    if (m_edit->text() != text)
        m_edit->setText(text);
}

void NullableDateEdit::setPopupButtonsVisible(bool visible)
{
    m_today->setVisible(visible);
    m_clear->setVisible(visible);
}

void NullableDateEdit::showPopup()
{
    commitTyped();
    // Opening the calendar only moves the calendar; the box keeps what it holds.
    const QDate shown = m_date.isValid() ? m_date : (m_emptyPopupDate.isValid() ? m_emptyPopupDate : QDate::currentDate());
    m_calendar->setCurrentPage(shown.year(), shown.month());
    if (m_date.isValid())
        m_calendar->setSelectedDate(m_date);
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus();
}

void NullableDateEdit::hidePopup()
{
    m_popup->hide();
}

void NullableDateEdit::commitTyped()
{
    const QString text = m_edit->text().trimmed();
    const QDate typed = text.isEmpty() ? QDate() : parse(text);
    const QDate previous = m_date;
    setDate(typed); // also normalises the text
    if (m_date != previous)
        Q_EMIT dateEdited(m_date);
    if (!text.isEmpty() && !typed.isValid()) {
        Q_EMIT invalidInput(text);
        if (m_warnInvalid)
            app::MessageBox::error(QStringLiteral("您输入日期不正确"));
    }
}

void NullableDateEdit::choose(const QDate& date)
{
    hidePopup();
    const bool changed = date != m_date;
    setDate(date);
    if (changed)
        Q_EMIT dateEdited(m_date);
    m_edit->setFocus();
}

} // namespace db
