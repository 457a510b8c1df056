#pragma once

#include <QIcon>
#include <QScrollArea>
#include <QToolButton>

class QVBoxLayout;

namespace app {

class TNavBarGroup;

// A navigation item: a large picture with its caption under it. Its tag is the navigation handle
// of the page it opens.
class TNavBarItem : public QToolButton
{
    Q_OBJECT
public:
    TNavBarItem(const QString& caption, int tag, const QIcon& icon, QWidget* parent);
    int Tag() const { return m_tag; }

private:
    int m_tag;
};

// A collapsible group: a header that shows or hides the group's items.
class TNavBarGroup : public QWidget
{
    Q_OBJECT
public:
    TNavBarGroup(const QString& caption, int tag, QWidget* parent);

    int Tag() const { return m_tag; }
    QString Caption() const;
    QToolButton* Header() const { return m_header; }
    QList<TNavBarItem*> Items() const { return m_items; }
    TNavBarItem* AddItem(const QString& caption, int tag, const QIcon& icon);

    bool IsExpanded() const;
    void SetExpanded(bool expanded);

Q_SIGNALS:
    void ItemClicked(TNavBarItem* item);

private:
    int m_tag;
    QToolButton* m_header;
    QWidget* m_body;
    QVBoxLayout* m_bodyLayout;
    QList<TNavBarItem*> m_items;
};

// The navigation bar: groups in a column, each with its items; scrolls when they do not fit.
class TNavBar : public QScrollArea
{
    Q_OBJECT
public:
    explicit TNavBar(QWidget* parent = nullptr);

    TNavBarGroup* AddGroup(const QString& caption, int tag);
    QList<TNavBarGroup*> Groups() const { return m_groups; }
    QList<TNavBarItem*> Items() const;

Q_SIGNALS:
    // Emitted for enabled items only.
    void LinkClicked(TNavBarItem* item);

private:
    QWidget* m_content;
    QVBoxLayout* m_layout;
    QList<TNavBarGroup*> m_groups;
};

} // namespace app
