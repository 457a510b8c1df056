#pragma once

#include "app/page.h"

class QPushButton;
class QTableView;

namespace db {
class Query;
class RowSourceModel;
} // namespace db

namespace candidates {

// The list of live candidates: open one in the editor, start a new one, mark one as deleted, or
// wipe all candidate and committee data.
class TPageCandList : public app::TBasePage
{
    Q_OBJECT
public:
    TPageCandList(QWidget* owner, int tag);

    void UpdateActions() override;

    db::Query* QueryCandList = nullptr;
    QTableView* DBGrid1 = nullptr;
    QPushButton* cxButtonClear = nullptr;
    QPushButton* cxButton1 = nullptr;
    QPushButton* BtnEdit = nullptr;
    QPushButton* BtnDelete = nullptr;
    QAction* ActionAdd = nullptr;
    QAction* ActionEdit = nullptr;
    QAction* ActionDelete = nullptr;

private:
    void BuildLayout();
    void ActionAddExecute();
    void ActionEditExecute();
    void ActionDeleteExecute();
    bool ActionEditUpdate() const;
    void DBGrid1DblClick();
    void cxButtonClearClick();
    void ReopenList();

    db::RowSourceModel* m_model = nullptr;
};

} // namespace candidates
