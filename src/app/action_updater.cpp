#include "app/action_updater.h"

#include "app/page.h"

#include <QCoreApplication>
#include <QEvent>

namespace app {

namespace {

bool isInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::Show:
    case QEvent::WindowActivate:
        return true;
    default:
        return false;
    }
}

} // namespace

TActionUpdater& TActionUpdater::Instance()
{
    static auto* updater = new TActionUpdater; // lives as long as the application
    return *updater;
}

TActionUpdater::TActionUpdater()
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &TActionUpdater::UpdateNow);
}

void TActionUpdater::Watch()
{
    if (m_watching || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_watching = true;
    Request();
}

void TActionUpdater::Request()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void TActionUpdater::UpdateNow()
{
    for (TBasePage* page : TBasePage::LivePages()) {
        if (page->isVisible())
            page->UpdateActions();
    }
}

bool TActionUpdater::eventFilter(QObject* watched, QEvent* event)
{
    if (isInputEvent(event->type()))
        Request();
    return QObject::eventFilter(watched, event);
}

} // namespace app
