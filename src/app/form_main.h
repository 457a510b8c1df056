#pragma once

#include <QLabel>
#include <QWidget>

#include <functional>

class QTabBar;

namespace app {

class TBasePage;
class TNavBar;
class TNavBarItem;
struct TPageInfo;

// A label that reports double-clicks (the information labels under the navigation bar).
class TInfoLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void DoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The main window: the navigation bar built from the page registry on the left, the tab strip
// with the pages on the right. Pages are opened in the current tab, in a new tab, or in a modal
// dialog; the navigation items are enabled for the user kind the settings describe.
class TFormMain : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 933;
    static constexpr int kHeight = 700;

    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // Opens the registered page from navigation with the entry's tag. Replacing the page of the
    // current tab asks that page first; a refusal changes nothing.
    void ShowPage(const QString& ID, bool NewTab);
    // Opens the registered page with the caller's tag; the replaced page is not asked and is
    // released once the event that asked for the new page has been handled.
    void NewPage(const QString& ID, int ATag, bool NewTab);
    // Opens the registered page in a modal dialog and returns the dialog's result when it closes.
    int ShowDialog(const QString& ID);
    // Enables the navigation items for the user kind that the settings now describe.
    void UpdateInterfaceForUserChange();

    // The settings check of the first showing: forces the settings dialog while no channel is set
    // and terminates the program when it is closed without one.
    void FormShow();
    // What "terminate the program" does (tests replace it).
    void SetTerminateHandler(std::function<void()> handler) { m_terminate = std::move(handler); }

    TBasePage* CurrentPage() const;
    TBasePage* PageOfTab(int index) const;

    TNavBar* dxNavBarMain = nullptr;
    TInfoLabel* LabelInfo1 = nullptr;
    TInfoLabel* LabelInfo2 = nullptr;
    TInfoLabel* LabelInfo3 = nullptr;
    QTabBar* TabControlMain = nullptr;
    QWidget* PanelContent = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void BuildLayout();
    void BuildNavigation();
    void dxNavBarMainLinkClick(TNavBarItem* item);
    void TabControlMainChanging();
    void TabControlMainChange();
    void TabControlMainCanClose(int index);
    void LabelInfo1DblClick();

    const TPageInfo& RegisteredPage(const QString& ID) const;
    TBasePage* CreateTabPage(const TPageInfo& info, int tag);
    void PlacePage(const TPageInfo& info, TBasePage* page, bool NewTab);
    void AddTab(const QString& caption, TBasePage* page);
    void AttachPage(TBasePage* page);
    void DetachPage(TBasePage* page);
    void UpdateCaption();
    void UpdateCloseButtons();

    TBasePage* m_attachedPage = nullptr;
    bool m_ignoreTabChange = false;
    bool m_shownOnce = false;
    std::function<void()> m_terminate;
};

// The program's main window, or null when there is none.
TFormMain* FormMain();

} // namespace app
