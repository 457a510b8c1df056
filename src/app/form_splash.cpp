#include "app/form_splash.h"

#include "app/application.h"
#include "app/image_lists.h"
#include "app/page_registry.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace app {

namespace {

TFormSplash* g_formSplash = nullptr;

} // namespace

TFormSplash* FormSplash()
{
    return g_formSplash;
}

TFormSplash::TFormSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormSplash"));
    g_formSplash = this;
    FormCreate();
}

TFormSplash::~TFormSplash()
{
    if (g_formSplash == this)
        g_formSplash = nullptr;
}

void TFormSplash::FormCreate()
{
    setWindowTitle(ApplicationTitle());
    setFixedSize(kWidth, kHeight);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(SplashPicture(size()));
    Image1->setScaledContents(true);
    Image1->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);

    // The shared pictures are drawn once, here, before any page needs them.
    LargeImages();
    SmallImages();

    MainWindowList().clear();
    MainWindowList().reserve(4);

    TimerSplash = new QTimer(this);
    TimerSplash->setObjectName(QStringLiteral("TimerSplash"));
    TimerSplash->setInterval(kSplashMs);
    connect(TimerSplash, &QTimer::timeout, this, &TFormSplash::TimerSplashTimer);

    TimerClose = new QTimer(this);
    TimerClose->setObjectName(QStringLiteral("TimerClose"));
    TimerClose->setInterval(kCloseSweepMs);
    connect(TimerClose, &QTimer::timeout, this, &TFormSplash::TimerCloseTimer);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    TimerSplash->start();
}

void TFormSplash::TimerSplashTimer()
{
    ShowMainWindow();
}

void TFormSplash::Image1Click()
{
    ShowMainWindow();
}

void TFormSplash::ShowMainWindow()
{
    if (MainWindowList().isEmpty())
        return;
    hide();
    MainWindowList().constFirst()->show();
}

void TFormSplash::FormHide()
{
    TimerSplash->stop();
    TimerClose->start();
}

void TFormSplash::TimerCloseTimer()
{
    QVector<QWidget*>& windows = MainWindowList();
    QVector<QWidget*> closed;
    for (QWidget* window : windows) {
        if (!window->isVisible())
            closed.push_back(window);
    }
    for (QWidget* window : closed) {
        windows.removeOne(window);
        delete window;
    }
    if (windows.isEmpty()) {
        close(); // hiding restarts the sweep; stop it for good
        TimerClose->stop();
        QCoreApplication::quit();
    }
}

void TFormSplash::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    FormHide();
}

bool TFormSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        Image1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace app
