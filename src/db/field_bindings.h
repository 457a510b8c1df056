#pragma once

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace db {

class NullableDateEdit;
class TableCopy;

// One editor bound to a column of a table copy's current row.
//
// The editor shows the column's value (load) and remembers whether the user changed it since
// (isUserModified: typing, choosing, pasting; never loading). A change is written to the column
// when the editor finishes (leaving it, Enter, a choice) or when commit() is called; save, cancel
// and row changes commit or revert editors first. When the copy's current row moves, every editor
// loads the new row; when only values change, editors holding the user's unwritten input keep it.
class FieldBinding : public QObject
{
    Q_OBJECT
public:
    FieldBinding(TableCopy* copy, const QString& column, QWidget* editor);

    TableCopy* copy() const { return m_copy; }
    const QString& column() const { return m_column; }
    QWidget* editor() const { return m_editor; }

    bool isUserModified() const { return m_userModified; }
    // Writes the user's value into the column (nothing when the user changed nothing).
    void commit();
    // Shows the column's value again, dropping the user's input.
    void load();
    // Puts a value the user picked (from a pop-up, say) into the editor and writes it.
    void applyUserValue(const QVariant& value);

Q_SIGNALS:
    // The user changed the editor's value.
    void userModified();

protected:
    virtual void showValue(const QVariant& value) = 0;
    virtual QVariant editorValue() const = 0;
    void markUserModified();
    bool isLoading() const { return m_loading; }

private:
    void onRowChanged();

    TableCopy* m_copy;
    QString m_column;
    QPointer<QWidget> m_editor;
    bool m_userModified = false;
    bool m_loading = false;
    int m_shownRow = -2;
};

// A text box; empty text stores Null. `filter` rewrites typed text (for example removing spaces)
// keeping the cursor where it was.
class LineEditBinding : public FieldBinding
{
    Q_OBJECT
public:
    LineEditBinding(TableCopy* copy, const QString& column, QLineEdit* edit,
                    std::function<QString(const QString&)> filter = {});

protected:
    void showValue(const QVariant& value) override;
    QVariant editorValue() const override;

private:
    QLineEdit* m_edit;
    std::function<QString(const QString&)> m_filter;
};

// A memo box; at most `maxLength` characters (0: the column's declared length, if any).
class PlainTextBinding : public FieldBinding
{
    Q_OBJECT
public:
    PlainTextBinding(TableCopy* copy, const QString& column, QPlainTextEdit* edit, int maxLength = 0);

protected:
    void showValue(const QVariant& value) override;
    QVariant editorValue() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void limitLength();

    QPlainTextEdit* m_edit;
    int m_maxLength;
};

// A drop-down text box: the column holds the text, typed or chosen from the list.
class ComboTextBinding : public FieldBinding
{
    Q_OBJECT
public:
    ComboTextBinding(TableCopy* copy, const QString& column, QComboBox* combo);

protected:
    void showValue(const QVariant& value) override;
    QVariant editorValue() const override;

private:
    QComboBox* m_combo;
};

// A lookup box: the items carry keys (item data); the column holds the chosen key.
class LookupBinding : public FieldBinding
{
    Q_OBJECT
public:
    LookupBinding(TableCopy* copy, const QString& column, QComboBox* combo);

protected:
    void showValue(const QVariant& value) override;
    QVariant editorValue() const override;

private:
    QComboBox* m_combo;
};

// A date box: the column holds the date at midnight, or Null.
class DateBinding : public FieldBinding
{
    Q_OBJECT
public:
    DateBinding(TableCopy* copy, const QString& column, NullableDateEdit* edit);

protected:
    void showValue(const QVariant& value) override;
    QVariant editorValue() const override;

private:
    NullableDateEdit* m_edit;
};

} // namespace db
