#pragma once

#include "app/page.h"

#include <QComboBox>

class QLineEdit;
class QPushButton;

namespace db {
class NullableDateEdit;
}

namespace candidates {

struct NewCandidate;

// A drop-down box that announces when its list closes, however it closes.
class TCloseUpComboBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void hidePopup() override;

Q_SIGNALS:
    void closedUp();
};

// Collects the six identifying facts of a new candidate, creates the candidate and hands it to the
// editor in the same tab.
class TPageCandAdd : public app::TBasePage
{
    Q_OBJECT
public:
    TPageCandAdd(QWidget* owner, int tag);

    void UpdateActions() override;

    QLineEdit* TEName = nullptr;
    QComboBox* CBGender = nullptr;
    db::NullableDateEdit* DEBirthday = nullptr;
    TCloseUpComboBox* CBIDType = nullptr;
    QLineEdit* TEIDNumber = nullptr;
    QComboBox* LCBDep = nullptr;
    QPushButton* ButtonSaveContinue = nullptr;
    QPushButton* ButtonCancelAdd = nullptr;
    QAction* ActionSave = nullptr;
    QAction* ActionCancel = nullptr;

private:
    void BuildLayout();
    NewCandidate Entered() const;
    bool ActionSaveUpdate() const;
    void ActionSaveExecute();
    void ActionCancelExecute();
    void CBIDTypePropertiesCloseUp();
};

} // namespace candidates
