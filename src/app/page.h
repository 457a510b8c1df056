#pragma once

#include "app/page_registry.h"

#include <QFrame>

class QAction;
class QComboBox;
class QHBoxLayout;
class QLabel;

namespace app {

// The name of the dynamic property that carries a component's tag (a 32-bit integer, 0 when unset).
inline constexpr const char* kTagProperty = "Tag";
// The name of the dynamic property that carries an action's index into SmallImages.
inline constexpr const char* kImageIndexProperty = "ImageIndex";

int TagOf(const QObject* object);
void SetTag(QObject* object, int tag);

// The base of every page: a frame shown in a tab of the main window or in a modal dialog.
//
// Construction follows two paths, both through TPageClassInfo::Create: with an owner only (modal
// pages; the tag stays 0) or with an owner and a tag (pages in tabs). The tag is stored by this
// base constructor, so a concrete page's own constructor already sees it. Once the concrete
// constructor has built the page, its controls are adjusted to the common look (AdjustControls).
class TBasePage : public QFrame
{
    Q_OBJECT
public:
    explicit TBasePage(QWidget* owner = nullptr, int tag = 0);
    ~TBasePage() override;

    int Tag() const { return m_tag; }

    // May the page be closed now? Pages that hold unsaved work override this and ask.
    virtual bool CloseQuery() { return true; }

    // Called when the application is idle after user input: pages run their ...Update handlers.
    virtual void UpdateActions() {}

    // Buttons with a caption and tag 0 get the caption's size plus 40 × 16 pixels (measured with
    // the main window's font); actions with an image index get their picture from SmallImages.
    void AdjustControls();

    // Refills a drop-down list from a statement returning the columns "ID" and "Name": an item
    // `defaultText` with 0 first when it is not empty, then one item per row with "ID" attached.
    // A temporary query on the shared connection is used and released also on error.
    static void FillComboBox(QComboBox* items, const QString& sqlText, const QString& defaultText);

    // A caption label for an editor: the label is the editor's buddy and its caption the editor's
    // accessible name, so that keyboard and screen-reader users find the field.
    static QLabel* CaptionLabel(const QString& caption, QWidget* editor, QWidget* parent);
    // A row of buttons standing at the right.
    static QHBoxLayout* RightAlignedButtons(const QList<QWidget*>& buttons);

    // Every page alive, in construction order (idle-time action updates, tests).
    static QList<TBasePage*> LivePages();

protected:
    // Closes the modal dialog the page is shown in with `result` (QDialog::Accepted / Rejected).
    void CloseDialog(int result);

    // An action owned by the page with its caption and its picture in SmallImages (-1 for none).
    QAction* CreateAction(const QString& objectName, const QString& caption, int imageIndex);

private:
    int m_tag = 0;
};

// A class reference to TBasePage or a descendant: constructs pages of one concrete class.
class TPageClassInfo
{
public:
    virtual ~TPageClassInfo() = default;
    virtual QString ClassName() const = 0;

    // The design-time constructor: owner only, tag 0.
    TBasePage* Create(QWidget* owner) const { return Create(owner, 0); }
    // The tag is stored first, then the concrete page builds itself; its controls are adjusted last.
    TBasePage* Create(QWidget* owner, int tag) const;

protected:
    virtual TBasePage* Construct(QWidget* owner, int tag) const = 0;
};

template <class TPage>
class TPageClassOf final : public TPageClassInfo
{
public:
    QString ClassName() const override { return QString::fromLatin1(TPage::staticMetaObject.className()); }

protected:
    TBasePage* Construct(QWidget* owner, int tag) const override { return new TPage(owner, tag); }
};

// The class reference of a page class with the constructor TPage(QWidget* owner, int tag).
template <class TPage>
TPageClass PageClassOf()
{
    static const TPageClassOf<TPage> info;
    return &info;
}

} // namespace app
