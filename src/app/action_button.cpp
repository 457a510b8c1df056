#include "app/action_button.h"

#include <QAction>

namespace app {

TActionButton::TActionButton(QAction* action, QWidget* parent)
    : QPushButton(parent)
    , m_action(action)
{
    syncFromAction();
    connect(action, &QAction::changed, this, &TActionButton::syncFromAction);
    connect(this, &QPushButton::clicked, action, &QAction::trigger);
}

void TActionButton::syncFromAction()
{
    if (!m_action)
        return;
    setText(m_action->text());
    setIcon(m_action->icon());
    setEnabled(m_action->isEnabled());
}

} // namespace app
