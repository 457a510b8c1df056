#pragma once

#include "app/page.h"
#include "data/setup_logic.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace data {

// "提名设置": which nominating body uses this installation — the nomination channel, the selecting
// department issued for it, and whether the user is one specific society or unit (with its name
// and person in charge). Shown in a modal dialog.
class TPageSetup : public app::TBasePage
{
    Q_OBJECT
public:
    explicit TPageSetup(QWidget* owner = nullptr, int tag = 0);

    QGroupBox* GroupSetup = nullptr;
    QLabel* LabelYear = nullptr;
    QComboBox* CBSelectChannel = nullptr;
    QComboBox* CBSelectDept = nullptr;
    QCheckBox* chkNamedUnit = nullptr;
    QGroupBox* GroupUnit = nullptr;
    QLabel* LabelDepName = nullptr;
    QLineEdit* TEDepName = nullptr;
    QLineEdit* TEDepInCharge = nullptr;
    QAction* ActionSave = nullptr;
    QAction* ActionCancel = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnCancel = nullptr;

    void CBSelectChannelPropertiesEditValueChanged();
    void chkNamedUnitClick();
    void ActionSaveExecute();
    void ActionCancelExecute();

private:
    void BuildLayout();
    QWidget* BuildButtons();
    void LoadSettings();
    void SelectItemWithId(QComboBox* list, qint64 id);
    qint64 SelectedChannel() const;

    TSetupLogic m_logic;
    QFormLayout* m_form = nullptr;
};

} // namespace data
