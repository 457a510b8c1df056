#include "app/form_main.h"

#include "app/app_error.h"
#include "app/application.h"
#include "app/fonts.h"
#include "app/form_splash.h"
#include "app/image_lists.h"
#include "app/nav_bar.h"
#include "app/page.h"
#include "app/page_registry.h"
#include "data/global_data.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace app {

namespace {

const QString kSettingChannel = QStringLiteral("遴选部门类别ID");
const QString kSettingNamedUnit = QStringLiteral("是否提名单位");
const QString kSetupPageID = QStringLiteral("系统设置");

QString setting(const QString& key)
{
    QString value;
    data::GlobalData()->GetSetting(key, value);
    return value;
}

// The stored channel; a text that is not a whole number reads as "no channel chosen yet".
qint64 storedChannel()
{
    bool ok = false;
    const qint64 channel = setting(kSettingChannel).trimmed().toLongLong(&ok);
    return ok ? channel : 0;
}

void centreOnScreen(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

TBasePage* pageFromData(const QVariant& data)
{
    return qobject_cast<TBasePage*>(data.value<QObject*>());
}

} // namespace

void TInfoLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLabel::mouseDoubleClickEvent(event);
    Q_EMIT DoubleClicked();
}

TFormMain* FormMain()
{
    for (QWidget* window : MainWindowList()) {
        if (auto* main = qobject_cast<TFormMain*>(window))
            return main;
    }
    return nullptr;
}

TFormMain::TFormMain(QWidget* parent)
    : QWidget(parent)
    , m_terminate([] { QCoreApplication::quit(); })
{
    setObjectName(QStringLiteral("FormMain"));
    try {
        FormCreate();
    } catch (...) {
        MainWindowList().removeOne(this); // the destructor will not run
        throw;
    }
}

TFormMain::~TFormMain()
{
    // FormDestroy: every tab's page, including the detached ones that have no parent.
    for (int index = 0; index < TabControlMain->count(); ++index)
        delete PageOfTab(index);
    MainWindowList().removeOne(this);
}

void TFormMain::FormCreate()
{
    RegisterMainWindow(this);
    setWindowTitle(ApplicationTitle());
    setFont(WindowFont());
    resize(kWidth, kHeight);
    BuildLayout();
    BuildNavigation();
    centreOnScreen(this);
    ShowPage(kTopGroupID, true);
}

void TFormMain::BuildLayout()
{
    dxNavBarMain = new TNavBar(this);
    dxNavBarMain->setObjectName(QStringLiteral("dxNavBarMain"));
    dxNavBarMain->setFixedWidth(190);
    connect(dxNavBarMain, &TNavBar::LinkClicked, this, &TFormMain::dxNavBarMainLinkClick);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(dxNavBarMain, 1);
    const std::pair<TInfoLabel**, QString> labels[] = {
        {&LabelInfo1, QStringLiteral("玄圃学苑学部工作局")},
        {&LabelInfo2, QStringLiteral("玄圃市青崖区云门路17号")},
        {&LabelInfo3, QStringLiteral("邮编：990017　V20170101")},
    };
    int number = 1;
    for (const auto& [label, text] : labels) {
        *label = new TInfoLabel(text, this);
        (*label)->setObjectName(QStringLiteral("LabelInfo%1").arg(number++));
        (*label)->setFont(LabelFont());
        (*label)->setAlignment(Qt::AlignCenter);
        connect(*label, &TInfoLabel::DoubleClicked, this, &TFormMain::LabelInfo1DblClick);
        left->addWidget(*label);
    }

    TabControlMain = new QTabBar(this);
    TabControlMain->setObjectName(QStringLiteral("TabControlMain"));
    TabControlMain->setExpanding(false);
    TabControlMain->setDrawBase(true);
    connect(TabControlMain, &QTabBar::currentChanged, this, [this] {
        if (m_ignoreTabChange)
            return;
        TabControlMainChanging();
        TabControlMainChange();
    });
    connect(TabControlMain, &QTabBar::tabCloseRequested, this, &TFormMain::TabControlMainCanClose);

    PanelContent = new QWidget(this);
    PanelContent->setObjectName(QStringLiteral("PanelContent"));
    auto* panelLayout = new QVBoxLayout(PanelContent);
    panelLayout->setContentsMargins(4, 4, 4, 4);

    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->addWidget(TabControlMain);
    right->addWidget(PanelContent, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(left);
    layout->addLayout(right, 1);
}

void TFormMain::BuildNavigation()
{
    QHash<QString, TNavBarGroup*> groups;
    for (int handle = 0; handle < PageCount(); ++handle) {
        const TPageInfo* info = PageAt(handle);
        if (info->Parent == kTopGroupID)
            groups.insert(info->ID, dxNavBarMain->AddGroup(info->Name, handle));
    }
    for (int handle = 0; handle < PageCount(); ++handle) {
        const TPageInfo* info = PageAt(handle);
        TNavBarGroup* group = groups.value(info->Parent);
        if (info->Tag >= 0 && group)
            group->AddItem(info->Name, handle, LargeImages().icon(info->IconIndex))->setObjectName(info->ID);
    }
}

const TPageInfo& TFormMain::RegisteredPage(const QString& ID) const
{
    const TPageInfo* info = FindPage(ID);
    if (!info)
        throw AppError(QStringLiteral("未找到页面: ") + ID);
    return *info;
}

void TFormMain::ShowPage(const QString& ID, bool NewTab)
{
    const TPageInfo& info = RegisteredPage(ID);
    if (!NewTab) {
        TBasePage* current = CurrentPage();
        if (current && !current->CloseQuery())
            return;
    }
    PlacePage(info, CreateTabPage(info, info.Tag), NewTab);
}

void TFormMain::NewPage(const QString& ID, int ATag, bool NewTab)
{
    const TPageInfo& info = RegisteredPage(ID);
    PlacePage(info, CreateTabPage(info, ATag), NewTab);
}

TBasePage* TFormMain::CreateTabPage(const TPageInfo& info, int tag)
{
    return info.PageClass->Create(nullptr, tag);
}

// The new page is built before anything changes, so a page that fails to build leaves the tabs
// as they were. The page it replaces is released with deleteLater: the request may come from one
// of that page's own handlers, which must be allowed to finish.
void TFormMain::PlacePage(const TPageInfo& info, TBasePage* page, bool NewTab)
{
    const int current = TabControlMain->currentIndex();
    if (NewTab || current < 0) {
        AddTab(info.Name, page);
    } else {
        TBasePage* replaced = PageOfTab(current);
        DetachPage(replaced);
        TabControlMain->setTabData(current, QVariant::fromValue<QObject*>(page));
        TabControlMain->setTabText(current, info.Name);
        AttachPage(page);
        UpdateCaption();
        if (replaced)
            replaced->deleteLater();
    }
    UpdateCloseButtons();
}

void TFormMain::AddTab(const QString& caption, TBasePage* page)
{
    m_ignoreTabChange = true;
    const int index = TabControlMain->addTab(caption);
    TabControlMain->setTabData(index, QVariant::fromValue<QObject*>(page));
    const bool alreadyCurrent = TabControlMain->currentIndex() == index;
    m_ignoreTabChange = false;
    if (alreadyCurrent) {
        TabControlMainChanging();
        TabControlMainChange();
    } else {
        TabControlMain->setCurrentIndex(index);
    }
}

int TFormMain::ShowDialog(const QString& ID)
{
    const TPageInfo& info = RegisteredPage(ID);
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("PageDialog"));
    dialog.setWindowTitle(info.Name);
    dialog.setFont(font());
    TBasePage* page = info.PageClass->Create(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(page);
    dialog.adjustSize();
    centreOnScreen(&dialog);
    return dialog.exec();
}

TBasePage* TFormMain::CurrentPage() const
{
    return PageOfTab(TabControlMain->currentIndex());
}

TBasePage* TFormMain::PageOfTab(int index) const
{
    if (index < 0 || index >= TabControlMain->count())
        return nullptr;
    return pageFromData(TabControlMain->tabData(index));
}

void TFormMain::AttachPage(TBasePage* page)
{
    if (!page)
        return;
    page->setParent(PanelContent);
    PanelContent->layout()->addWidget(page);
    page->show();
    m_attachedPage = page;
}

void TFormMain::DetachPage(TBasePage* page)
{
    if (!page)
        return;
    page->hide();
    PanelContent->layout()->removeWidget(page);
    page->setParent(nullptr);
    if (m_attachedPage == page)
        m_attachedPage = nullptr;
}

void TFormMain::TabControlMainChanging()
{
    DetachPage(m_attachedPage);
}

void TFormMain::TabControlMainChange()
{
    if (TabControlMain->currentIndex() < 0) {
        ShowPage(kTopGroupID, true);
    } else {
        AttachPage(CurrentPage());
        UpdateCaption();
    }
    UpdateCloseButtons();
}

void TFormMain::TabControlMainCanClose(int index)
{
    if (index != TabControlMain->currentIndex())
        TabControlMain->setCurrentIndex(index);
    TBasePage* page = CurrentPage();
    if (page && !page->CloseQuery())
        return;
    DetachPage(page);
    TabControlMain->setTabData(index, {});
    if (page)
        page->deleteLater();
    TabControlMain->removeTab(index);
    if (TabControlMain->count() == 0)
        ShowPage(kTopGroupID, true);
}

void TFormMain::UpdateCaption()
{
    const int current = TabControlMain->currentIndex();
    if (current >= 0)
        setWindowTitle(ApplicationTitle() + QStringLiteral(" - ") + TabControlMain->tabText(current));
}

void TFormMain::UpdateCloseButtons()
{
    TabControlMain->setTabsClosable(TabControlMain->count() >= 2);
}

void TFormMain::dxNavBarMainLinkClick(TNavBarItem* item)
{
    const TPageInfo* info = PageAt(item->Tag());
    if (!info)
        return;
    if (info->ModalDialog)
        ShowDialog(info->ID);
    else
        ShowPage(info->ID, false);
}

void TFormMain::UpdateInterfaceForUserChange()
{
    // Only the exact texts count: "01" is not "1".
    const bool academicianOrUnit = setting(kSettingChannel) == QLatin1String("1")
                                   || setting(kSettingNamedUnit) == QLatin1String("1");
    for (TNavBarItem* item : dxNavBarMain->Items()) {
        const TPageUsages usage = PageAt(item->Tag())->Usage;
        const bool enabled = usage.contains(TPageUsage::puAny)
                             || (academicianOrUnit ? usage.contains(TPageUsage::puAcad)
                                                   : usage.contains(TPageUsage::puUnit)
                                                         || usage.contains(TPageUsage::puChoose));
        item->setEnabled(enabled);
    }
}

void TFormMain::FormShow()
{
    if (storedChannel() >= 1) {
        UpdateInterfaceForUserChange();
        return;
    }
    ShowDialog(kSetupPageID);
    if (storedChannel() < 1)
        m_terminate();
}

void TFormMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // Run after the window is on screen, so that the settings dialog opens over it.
    QTimer::singleShot(0, this, &TFormMain::FormShow);
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    for (int index = 0; index < TabControlMain->count(); ++index) {
        TBasePage* page = PageOfTab(index);
        if (page && !page->CloseQuery()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void TFormMain::LabelInfo1DblClick()
{
    if (TFormSplash* splash = FormSplash())
        splash->show();
}

} // namespace app
