#pragma once

#include "app/page.h"

#include <QVector>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace db {
class FieldBinding;
class TableCopy;
} // namespace db

namespace candidates {

class CandidateDossier;
class TBaseTab;

// The editor of one candidate's whole dossier (the page's tag is the candidate's key): a header with
// name and division, sixteen tabs over the dossier's table copies, and "保存" / "取消".
class TPageCandEdit : public app::TBasePage
{
    Q_OBJECT
public:
    TPageCandEdit(QWidget* owner, int tag);
    ~TPageCandEdit() override;

    bool CloseQuery() override;
    void UpdateActions() override;

    CandidateDossier& Dossier() const { return *m_dossier; }
    QVector<TBaseTab*> Tabs() const { return m_tabs; }

    QLabel* LabelReceiptNo = nullptr;
    QLineEdit* TEName = nullptr;
    QComboBox* LCBPretendDep = nullptr;
    QTabWidget* PCCand = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnCancel = nullptr;
    QAction* ActionSave = nullptr;
    QAction* ActionCancel = nullptr;

private:
    void BuildHeader();
    void CreateTabs();
    void PCCandChange(int index);
    // "保存" and "取消" are enabled while anything is unsaved.
    bool ActionSaveUpdate() const;
    void ActionSaveExecute();
    void ActionCancelExecute();
    void CommitEditors();

    std::unique_ptr<CandidateDossier> m_dossier;
    QVector<TBaseTab*> m_tabs;
    QVector<db::FieldBinding*> m_headerBindings;
};

} // namespace candidates
