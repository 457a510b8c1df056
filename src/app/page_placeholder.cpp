#include "app/page_placeholder.h"

#include <QLabel>
#include <QVBoxLayout>

namespace app {

namespace {

QString registeredCaption(TPageClass pageClass)
{
    for (int handle = 0; handle < PageCount(); ++handle) {
        if (PageAt(handle)->PageClass == pageClass)
            return PageAt(handle)->Name;
    }
    return pageClass->ClassName();
}

} // namespace

TPagePlaceholder::TPagePlaceholder(TPageClass pageClass, QWidget* owner, int tag)
    : TBasePage(owner, tag)
{
    QString text = registeredCaption(pageClass);
    if (tag != 0)
        text += QStringLiteral("（%1）").arg(tag);
    LabelCaption = new QLabel(text, this);
    LabelCaption->setObjectName(QStringLiteral("LabelCaption"));
    LabelCaption->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelCaption);
}

} // namespace app
