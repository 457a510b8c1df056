#pragma once

#include <QString>
#include <QVector>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class QWidget;

namespace app {

class TPageClassInfo;
// A class reference to TBasePage or a descendant (see page.h).
using TPageClass = const TPageClassInfo*;

// The kinds of user for which a navigation item is enabled.
enum class TPageUsage : std::uint8_t { puAny, puAcad, puUnit, puChoose };

// A set of TPageUsage in one byte: bit 0 puAny, bit 1 puAcad, bit 2 puUnit, bit 3 puChoose.
class TPageUsages
{
public:
    constexpr TPageUsages() = default;
    constexpr TPageUsages(std::initializer_list<TPageUsage> usages)
    {
        for (TPageUsage usage : usages)
            m_bits = static_cast<std::uint8_t>(m_bits | bit(usage));
    }
    static constexpr TPageUsages fromByte(std::uint8_t bits)
    {
        TPageUsages usages;
        usages.m_bits = bits;
        return usages;
    }

    constexpr bool contains(TPageUsage usage) const { return (m_bits & bit(usage)) != 0; }
    constexpr std::uint8_t toByte() const { return m_bits; }
    constexpr bool operator==(const TPageUsages&) const = default;

private:
    static constexpr std::uint8_t bit(TPageUsage usage) { return static_cast<std::uint8_t>(1u << static_cast<int>(usage)); }
    std::uint8_t m_bits = 0;
};
static_assert(sizeof(TPageUsages) == 1);

// One registered page: what the navigation bar shows for it and how it is opened.
struct TPageInfo
{
    QString Parent;       // ID of the navigation group; "TOP" for groups; empty for the home page
    QString ID;           // unique key, compared exactly
    QString Name;         // caption of the group or item, the tab and the modal dialog
    int IconIndex = -1;   // index into LargeImages; -1 for none
    TPageClass PageClass = nullptr;
    bool ModalDialog = false;
    TPageUsages Usage;
    int Tag = 0;          // the page's tag when opened from navigation; negative: no navigation item
};

inline const QString kTopGroupID = QStringLiteral("TOP");

// Appends a page to the registry (duplicates are not checked) and returns it so that the caller
// can set ModalDialog.
TPageInfo* RegisterPage(const QString& ID, const QString& Parent, const QString& Name, TPageClass PageClass,
                        int IconIndex, TPageUsages Usage, int Tag);

// The first entry registered under `ID`, or null.
TPageInfo* FindPage(const QString& ID);
// The entry at a navigation handle (its position in registration order), or null.
TPageInfo* PageAt(int handle);
// The navigation handle of an entry, or -1.
int PageHandle(const TPageInfo* info);
int PageCount();
// Removes every entry (program end, tests).
void ClearPageRegistry();

// The main windows of the program, in creation order. The splash window resets the list, the
// main window registers itself while it is being created, and the splash window's close sweep
// removes the windows it destroys.
QVector<QWidget*>& MainWindowList();
void RegisterMainWindow(QWidget* window);

} // namespace app
