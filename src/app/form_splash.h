#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace app {

// The first window of the program: shows the splash picture, then the main window, and ends the
// program once every main window has been closed (hidden) by destroying them and closing itself.
class TFormSplash : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 573;
    static constexpr int kHeight = 365;
    static constexpr int kSplashMs = 5000;
    static constexpr int kCloseSweepMs = 1000;

    explicit TFormSplash(QWidget* parent = nullptr);
    ~TFormSplash() override;

    QLabel* Image1 = nullptr;
    QTimer* TimerSplash = nullptr;
    QTimer* TimerClose = nullptr;

    void TimerSplashTimer();
    void Image1Click();
    void TimerCloseTimer();

protected:
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormHide();
    void ShowMainWindow();
};

// The splash window of the running program, or null.
TFormSplash* FormSplash();

} // namespace app
