#include "app/page.h"

#include "app/action_updater.h"
#include "app/fonts.h"
#include "app/image_lists.h"
#include "data/global_data.h"
#include "db/query.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <memory>

namespace app {

namespace {

QList<TBasePage*>& livePages()
{
    static QList<TBasePage*> pages;
    return pages;
}

void sizeButtonToCaption(QPushButton* button, const QFontMetrics& metrics)
{
    QString caption = button->text();
    caption.remove(QLatin1Char('&'));
    if (caption.isEmpty() || TagOf(button) != 0)
        return;
    button->setFixedSize(metrics.horizontalAdvance(caption) + 40, metrics.height() + 16);
}

} // namespace

int TagOf(const QObject* object)
{
    return object->property(kTagProperty).toInt();
}

void SetTag(QObject* object, int tag)
{
    object->setProperty(kTagProperty, tag);
}

TBasePage::TBasePage(QWidget* owner, int tag)
    : QFrame(owner)
    , m_tag(tag)
{
    SetTag(this, tag);
    livePages().push_back(this);
    TActionUpdater::Instance().Watch();
}

TBasePage::~TBasePage()
{
    livePages().removeOne(this);
}

QList<TBasePage*> TBasePage::LivePages()
{
    return livePages();
}

void TBasePage::AdjustControls()
{
    const QFontMetrics metrics(WindowFont());
    for (QPushButton* button : findChildren<QPushButton*>())
        sizeButtonToCaption(button, metrics);
    for (QAction* action : findChildren<QAction*>()) {
        const QVariant index = action->property(kImageIndexProperty);
        if (index.isValid())
            action->setIcon(SmallImages().icon(index.toInt()));
    }
}

void TBasePage::FillComboBox(QComboBox* items, const QString& sqlText, const QString& defaultText)
{
    auto query = std::make_unique<db::Query>(&data::GlobalData()->connection());
    query->setSql(sqlText);
    items->clear();
    if (!defaultText.isEmpty())
        items->addItem(defaultText, 0);
    query->open();
    for (query->first(); !query->eof(); query->next())
        items->addItem(query->field(QStringLiteral("Name")).asString(), query->field(QStringLiteral("ID")).asInteger());
}

QLabel* TBasePage::CaptionLabel(const QString& caption, QWidget* editor, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(editor);
    editor->setAccessibleName(caption);
    return label;
}

QHBoxLayout* TBasePage::RightAlignedButtons(const QList<QWidget*>& buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* button : buttons)
        row->addWidget(button);
    return row;
}

void TBasePage::CloseDialog(int result)
{
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->done(result);
}

QAction* TBasePage::CreateAction(const QString& objectName, const QString& caption, int imageIndex)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(objectName);
    if (imageIndex >= 0)
        action->setProperty(kImageIndexProperty, imageIndex);
    return action;
}

TBasePage* TPageClassInfo::Create(QWidget* owner, int tag) const
{
    std::unique_ptr<TBasePage> page(Construct(owner, tag));
    page->AdjustControls();
    return page.release();
}

} // namespace app
