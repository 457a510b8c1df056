#pragma once

#include <QPointer>
#include <QPushButton>

class QAction;

namespace app {

// A push button that shows an action: its caption, picture and enabled state follow the action,
// and a click triggers it.
class TActionButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TActionButton(QAction* action, QWidget* parent = nullptr);

    QAction* action() const { return m_action; }

private:
    void syncFromAction();

    QPointer<QAction> m_action;
};

} // namespace app
