#include "db/field_bindings.h"

#include "db/date_edit.h"
#include "db/table_copy.h"
#include "db/value.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace db {

FieldBinding::FieldBinding(TableCopy* copy, const QString& column, QWidget* editor)
    : QObject(editor)
    , m_copy(copy)
    , m_column(column)
    , m_editor(editor)
{
    editor->setProperty("DataField", column);
    connect(copy, &RowSource::currentRowChanged, this, &FieldBinding::onRowChanged);
    connect(copy, &RowSource::rowsChanged, this, &FieldBinding::onRowChanged);
}

void FieldBinding::onRowChanged()
{
    const int row = m_copy->recNo();
    if (row != m_shownRow || !m_userModified)
        load();
}

void FieldBinding::load()
{
    m_loading = true;
    m_shownRow = m_copy->isOpen() ? m_copy->recNo() : -2;
    showValue(m_copy->isOpen() && (m_copy->recNo() >= 0 || m_copy->isEditing()) ? m_copy->value(m_column) : QVariant());
    m_userModified = false;
    m_loading = false;
}

void FieldBinding::applyUserValue(const QVariant& value)
{
    showValue(value);
    m_userModified = true;
    Q_EMIT userModified();
    commit();
}

void FieldBinding::markUserModified()
{
    if (m_loading)
        return;
    m_userModified = true;
    Q_EMIT userModified();
}

void FieldBinding::commit()
{
    if (!m_userModified)
        return;
    const QVariant value = editorValue();
    m_userModified = false;
    m_copy->setValue(m_column, value);
}

LineEditBinding::LineEditBinding(TableCopy* copy, const QString& column, QLineEdit* edit,
                                 std::function<QString(const QString&)> filter)
    : FieldBinding(copy, column, edit)
    , m_edit(edit)
    , m_filter(std::move(filter))
{
    if (const int length = copy->maxLength(column); length > 0)
        edit->setMaxLength(length);
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_filter) {
            const QString filtered = m_filter(text);
            if (filtered != text) {
                const int cursor = m_edit->cursorPosition();
                const int removedBefore = m_filter(text.left(cursor)).size();
                m_edit->setText(filtered);
                m_edit->setCursorPosition(removedBefore);
            }
        }
        markUserModified();
    });
    connect(edit, &QLineEdit::editingFinished, this, &FieldBinding::commit);
    load();
}

void LineEditBinding::showValue(const QVariant& value)
{
    const QString text = variantToText(value);
    if (m_edit->text() != text)
        m_edit->setText(text);
}

QVariant LineEditBinding::editorValue() const
{
    const QString text = m_edit->text();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

PlainTextBinding::PlainTextBinding(TableCopy* copy, const QString& column, QPlainTextEdit* edit, int maxLength)
    : FieldBinding(copy, column, edit)
    , m_edit(edit)
    , m_maxLength(maxLength > 0 ? maxLength : copy->maxLength(column))
{
    connect(edit, &QPlainTextEdit::textChanged, this, [this] {
        if (isLoading())
            return;
        limitLength();
        markUserModified();
    });
    edit->installEventFilter(this);
    load();
}

void PlainTextBinding::limitLength()
{
    if (m_maxLength <= 0 || m_edit->toPlainText().size() <= m_maxLength)
        return;
    const QSignalBlocker blocker(m_edit);
    QTextCursor cursor = m_edit->textCursor();
    const int position = std::min(cursor.position(), m_maxLength);
    m_edit->setPlainText(m_edit->toPlainText().left(m_maxLength));
    cursor = m_edit->textCursor();
    cursor.setPosition(position);
    m_edit->setTextCursor(cursor);
}

bool PlainTextBinding::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::FocusOut)
        commit();
    return FieldBinding::eventFilter(watched, event);
}

void PlainTextBinding::showValue(const QVariant& value)
{
    const QString text = variantToText(value);
    if (m_edit->toPlainText() != text)
        m_edit->setPlainText(text);
}

QVariant PlainTextBinding::editorValue() const
{
    const QString text = m_edit->toPlainText();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

ComboTextBinding::ComboTextBinding(TableCopy* copy, const QString& column, QComboBox* combo)
    : FieldBinding(copy, column, combo)
    , m_combo(combo)
{
    if (combo->isEditable()) {
        if (const int length = copy->maxLength(column); length > 0)
            combo->lineEdit()->setMaxLength(length);
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this] { markUserModified(); });
        connect(combo->lineEdit(), &QLineEdit::editingFinished, this, &FieldBinding::commit);
    }
    connect(combo, &QComboBox::activated, this, [this] {
        markUserModified();
        commit();
    });
    load();
}

void ComboTextBinding::showValue(const QVariant& value)
{
    const QString text = variantToText(value);
    const int index = m_combo->findText(text);
    if (index >= 0 || !m_combo->isEditable())
        m_combo->setCurrentIndex(index);
    else
        m_combo->setEditText(text);
}

QVariant ComboTextBinding::editorValue() const
{
    const QString text = m_combo->currentText();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

LookupBinding::LookupBinding(TableCopy* copy, const QString& column, QComboBox* combo)
    : FieldBinding(copy, column, combo)
    , m_combo(combo)
{
    connect(combo, &QComboBox::activated, this, [this] {
        markUserModified();
        commit();
    });
    load();
}

void LookupBinding::showValue(const QVariant& value)
{
    const bool empty = value.isNull() || !value.isValid() || variantToText(value).isEmpty();
    m_combo->setCurrentIndex(empty ? -1 : m_combo->findData(value.toLongLong()));
}

QVariant LookupBinding::editorValue() const
{
    const QVariant key = m_combo->currentData();
    return key.isValid() ? key : QVariant();
}

DateBinding::DateBinding(TableCopy* copy, const QString& column, NullableDateEdit* edit)
    : FieldBinding(copy, column, edit)
    , m_edit(edit)
{
    connect(edit->lineEdit(), &QLineEdit::textEdited, this, [this] { markUserModified(); });
    connect(edit, &NullableDateEdit::dateEdited, this, [this] {
        markUserModified();
        commit();
    });
    load();
}

void DateBinding::showValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        m_edit->setDate(value.toDateTime().date());
    else if (value.typeId() == QMetaType::QDate)
        m_edit->setDate(value.toDate());
    else
        m_edit->setDate(NullableDateEdit::parse(variantToText(value)));
}

QVariant DateBinding::editorValue() const
{
    const QDate date = m_edit->date();
    return date.isValid() ? QVariant(QDateTime(date, QTime(0, 0))) : QVariant();
}

} // namespace db
