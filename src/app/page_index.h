#pragma once

#include "app/page.h"

class QListWidget;

namespace app {

// The home page "首页", also the class of the navigation group entries: an empty list view
// filling the page.
class TPageIndex : public TBasePage
{
    Q_OBJECT
public:
    explicit TPageIndex(QWidget* owner = nullptr, int tag = 0);

    QListWidget* ListView1 = nullptr;
};

} // namespace app
