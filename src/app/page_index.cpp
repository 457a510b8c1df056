#include "app/page_index.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace app {

TPageIndex::TPageIndex(QWidget* owner, int tag)
    : TBasePage(owner, tag)
{
    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListView1);
}

} // namespace app
