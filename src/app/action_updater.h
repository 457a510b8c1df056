#pragma once

#include <QObject>
#include <QTimer>

namespace app {

// Runs the pages' action update handlers when the application has become idle after user input.
// Input events start one short single-shot timer; further events while it runs are coalesced into
// the same update, so the handlers run once per burst of input rather than continuously.
class TActionUpdater : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDelayMs = 100;

    static TActionUpdater& Instance();

    // Starts watching the application's input (idempotent).
    void Watch();
    // Schedules an update, for changes that do not come from user input.
    void Request();
    // Runs every live page's update handlers now.
    void UpdateNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TActionUpdater();
    QTimer m_timer;
    bool m_watching = false;
};

} // namespace app
