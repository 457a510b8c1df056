#include "app/page_registration.h"

#include "app/page_index.h"
#include "app/page_placeholder.h"
#include "app/page_registry.h"
#include "candidates/page_candadd.h"
#include "candidates/page_candedit.h"
#include "candidates/page_candlist.h"
#include "data/page_setup.h"

namespace app {

namespace {

// Pages still to be written; each is replaced by PageClassOf<its class>() when it exists.
TPageClass placeholder(const char* className)
{
    static std::vector<std::unique_ptr<TPlaceholderClass>> classes;
    for (const auto& existing : classes) {
        if (existing->ClassName() == QLatin1String(className))
            return existing.get();
    }
    classes.push_back(std::make_unique<TPlaceholderClass>(QString::fromLatin1(className)));
    return classes.back().get();
}

const TPageUsages kAny{TPageUsage::puAny};
const TPageUsages kSelecting{TPageUsage::puUnit, TPageUsage::puChoose};

} // namespace

void RegisterPages()
{
    const TPageClass index = PageClassOf<TPageIndex>();

    RegisterPage("TOP", "", "首页", index, -1, kAny, 0);
    RegisterPage("候选人提名", "TOP", "候选人提名", index, -1, kAny, 0);
    RegisterPage("提名管理", "TOP", "提名管理", index, -1, kAny, 0);
    RegisterPage("打印功能", "TOP", "打印功能", index, -1, kAny, 0);
    RegisterPage("系统功能", "TOP", "数据交互", index, -1, kAny, 0);

    RegisterPage("新增候选人", "候选人提名", "新增候选人", PageClassOf<candidates::TPageCandAdd>(), 1, kAny, 0);
    RegisterPage("候选人列表", "候选人提名", "候选人列表", PageClassOf<candidates::TPageCandList>(), 0, kAny, 0);
    RegisterPage("编辑候选人", "候选人提名", "候选人信息", PageClassOf<candidates::TPageCandEdit>(), -1, kAny, -1);
    RegisterPage("系统设置", "候选人提名", "提名设置", PageClassOf<data::TPageSetup>(), 3, kAny, 0)->ModalDialog = true;

    RegisterPage("学术团体列表", "提名管理", "学术团体列表", placeholder("TPageNamedUnitList"), 6, kSelecting, 0);
    RegisterPage("苍岳联合会信息", "提名管理", "苍岳联合会信息", placeholder("TPageCommInfo"), 7, kSelecting, 0);
    RegisterPage("提名委员会", "提名管理", "提名委员会", placeholder("TPageCommittee"), 8, kSelecting, 0);
    RegisterPage("委员会分组", "提名管理", "委员会分组", placeholder("TPageCommChoose"), 9, kSelecting, 0);
    RegisterPage("提名意见", "提名管理", "提名意见", placeholder("TPageChooseSugg"), 10, kSelecting, 0);

    RegisterPage("打印候选人名单", "打印功能", "打印候选人名单", placeholder("TPagePrintList"), 2, kAny, 0);
    RegisterPage("打印提名书", "打印功能", "打印提名书", placeholder("TPagePrintOne"), 11, kAny, 0);

    RegisterPage("数据存盘", "系统功能", "数据存盘", placeholder("TPageSend"), 4, kAny, 0);
    RegisterPage("数据读取", "系统功能", "数据读取", placeholder("TPageReceive"), 5, kAny, 0);
    RegisterPage("数据校验", "系统功能", "数据校验", placeholder("TPageSendtoQZV"), 4, kAny, 0);
}

} // namespace app
