#pragma once

#include "app/page.h"

class QLabel;

namespace app {

// Stands in for a registered page whose own class is still to be written: shows the caption under
// which the page is registered and, when it was opened with one, its tag.
class TPagePlaceholder : public TBasePage
{
    Q_OBJECT
public:
    TPagePlaceholder(TPageClass pageClass, QWidget* owner, int tag);

    QLabel* LabelCaption = nullptr;
};

// A class reference for a page that is not written yet; `className` names the class that will
// replace it.
class TPlaceholderClass final : public TPageClassInfo
{
public:
    explicit TPlaceholderClass(QString className)
        : m_className(std::move(className))
    {
    }
    QString ClassName() const override { return m_className; }

protected:
    TBasePage* Construct(QWidget* owner, int tag) const override { return new TPagePlaceholder(this, owner, tag); }

private:
    QString m_className;
};

} // namespace app
