#include "app/nav_bar.h"

#include "app/fonts.h"

#include <QVBoxLayout>

namespace app {

TNavBarItem::TNavBarItem(const QString& caption, int tag, const QIcon& icon, QWidget* parent)
    : QToolButton(parent)
    , m_tag(tag)
{
    setText(caption);
    setAccessibleName(caption);
    setIcon(icon);
    setIconSize(QSize(48, 48));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
    setFont(NavigationFont());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

TNavBarGroup::TNavBarGroup(const QString& caption, int tag, QWidget* parent)
    : QWidget(parent)
    , m_tag(tag)
    , m_header(new QToolButton(this))
    , m_body(new QWidget(this))
    , m_bodyLayout(new QVBoxLayout(m_body))
{
    m_header->setObjectName(QStringLiteral("GroupHeader"));
    m_header->setText(caption);
    m_header->setAccessibleName(caption);
    m_header->setFont(NavigationFont());
    m_header->setCheckable(true);
    m_header->setChecked(true);
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setArrowType(Qt::DownArrow);
    m_header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_header, &QToolButton::toggled, this, &TNavBarGroup::SetExpanded);

    m_bodyLayout->setContentsMargins(4, 2, 4, 6);
    m_bodyLayout->setSpacing(2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_body);
}

QString TNavBarGroup::Caption() const
{
    return m_header->text();
}

TNavBarItem* TNavBarGroup::AddItem(const QString& caption, int tag, const QIcon& icon)
{
    auto* item = new TNavBarItem(caption, tag, icon, m_body);
    m_bodyLayout->addWidget(item);
    m_items.push_back(item);
    connect(item, &QToolButton::clicked, this, [this, item] { Q_EMIT ItemClicked(item); });
    return item;
}

bool TNavBarGroup::IsExpanded() const
{
    return m_header->isChecked();
}

void TNavBarGroup::SetExpanded(bool expanded)
{
    m_header->setChecked(expanded);
    m_header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    m_body->setVisible(expanded);
}

TNavBar::TNavBar(QWidget* parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
    , m_layout(new QVBoxLayout(m_content))
{
    m_layout->setContentsMargins(2, 2, 2, 2);
    m_layout->setSpacing(4);
    m_layout->addStretch();
    setWidget(m_content);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

TNavBarGroup* TNavBar::AddGroup(const QString& caption, int tag)
{
    auto* group = new TNavBarGroup(caption, tag, m_content);
    m_layout->insertWidget(m_layout->count() - 1, group);
    m_groups.push_back(group);
    connect(group, &TNavBarGroup::ItemClicked, this, [this](TNavBarItem* item) {
        if (item->isEnabled())
            Q_EMIT LinkClicked(item);
    });
    return group;
}

QList<TNavBarItem*> TNavBar::Items() const
{
    QList<TNavBarItem*> items;
    for (TNavBarGroup* group : m_groups)
        items += group->Items();
    return items;
}

} // namespace app
