#include "app/page_registry.h"

namespace app {

namespace {

std::vector<std::unique_ptr<TPageInfo>>& registry()
{
    static std::vector<std::unique_ptr<TPageInfo>> pages = [] {
        std::vector<std::unique_ptr<TPageInfo>> list;
        list.reserve(16);
        return list;
    }();
    return pages;
}

} // namespace

TPageInfo* RegisterPage(const QString& ID, const QString& Parent, const QString& Name, TPageClass PageClass,
                        int IconIndex, TPageUsages Usage, int Tag)
{
    auto info = std::make_unique<TPageInfo>();
    info->Parent = Parent;
    info->ID = ID;
    info->Name = Name;
    info->IconIndex = IconIndex;
    info->PageClass = PageClass;
    info->Usage = Usage;
    info->Tag = Tag;
    registry().push_back(std::move(info));
    return registry().back().get();
}

TPageInfo* FindPage(const QString& ID)
{
    for (const auto& info : registry()) {
        if (info->ID == ID)
            return info.get();
    }
    return nullptr;
}

TPageInfo* PageAt(int handle)
{
    if (handle < 0 || handle >= PageCount())
        return nullptr;
    return registry()[static_cast<size_t>(handle)].get();
}

int PageHandle(const TPageInfo* info)
{
    for (int handle = 0; handle < PageCount(); ++handle) {
        if (registry()[static_cast<size_t>(handle)].get() == info)
            return handle;
    }
    return -1;
}

int PageCount()
{
    return static_cast<int>(registry().size());
}

void ClearPageRegistry()
{
    registry().clear();
}

QVector<QWidget*>& MainWindowList()
{
    static QVector<QWidget*> windows;
    return windows;
}

void RegisterMainWindow(QWidget* window)
{
    MainWindowList().push_back(window);
}

} // namespace app
