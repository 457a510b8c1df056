#pragma once

#include <QFrame>
#include <QVector>

#include <memory>

class QAction;
class QComboBox;

namespace db {
class FieldBinding;
class TableCopy;
} // namespace db

namespace candidates {

class ListActions;

// The base of the candidate editor's tabs. It binds the tab to the editor's table copies by name
// (a data source "DSParty" edits the copy "CDSParty"), offers the four list actions on the tab's
// list table, fills year lists, and tells the editor whether an editor of the tab holds input the
// user has not written yet (ValueModified).
class TBaseTab : public QFrame
{
    Q_OBJECT
public:
    // The copies the editor loaded, in their order; a tab keeps references, not ownership.
    TBaseTab(QWidget* owner, const QVector<db::TableCopy*>& dataSets);
    ~TBaseTab() override;

    QString TabCaption() const { return FTabCaption; }
    virtual bool ValueModified() const;
    // Called when the tab's sheet becomes the active one.
    virtual void TabActived() {}

    // Writes every editor's pending input into its column / shows the columns again.
    void CommitEditors();
    void RevertEditors();
    // Runs the list actions' enabling rules.
    virtual void UpdateActions();

    db::TableCopy* TabDataSet() const { return FTabDataSet; }
    int MaxRecord() const { return FMaxRecord; }

    QAction* BaseActionAppend = nullptr;
    QAction* BaseActionDelete = nullptr;
    QAction* BaseActionMoveUp = nullptr;
    QAction* BaseActionMoveDown = nullptr;

    // Fills a year list: the current year down to 1949.
    static void FillYearList(QComboBox* combo);

protected:
    // The copy a data source of this name edits ("DSParty" → "CDSParty"); null when none.
    db::TableCopy* DataSet(const QString& dataSourceName) const;
    void SetTabCaption(const QString& caption) { FTabCaption = caption; }
    // Makes `table` the list the four actions work on, with at most `maxRecord` rows.
    void SetTabDataSet(db::TableCopy* table, int maxRecord);
    // Keeps a binding so that ValueModified, commit and revert see it.
    template <class TBinding, class... Args>
    TBinding* Bind(Args&&... args)
    {
        auto* binding = new TBinding(std::forward<Args>(args)...);
        m_bindings << binding;
        return binding;
    }
    void BaseActionAppendExecute();
    void BaseActionDeleteExecute();
    void BaseActionMoveUpExecute();
    void BaseActionMoveDownExecute();

private:
    QVector<db::TableCopy*> m_dataSets;
    QVector<db::FieldBinding*> m_bindings;
    QString FTabCaption;
    db::TableCopy* FTabDataSet = nullptr;
    int FMaxRecord = 10;
    std::unique_ptr<ListActions> m_listActions;
};

} // namespace candidates
