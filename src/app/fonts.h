#pragma once

#include <QFont>

namespace app {

// The faces the program's design names (新宋体, 宋体, Times New Roman) do not exist on most
// systems; this maps them to installed faces of the same kind. Call once before any window exists.
void InstallFontSubstitutions();

// The main window's font (16-pixel 新宋体); dialogs copy it and buttons are measured with it.
QFont WindowFont();
// Navigation groups and items: 14-pixel 宋体.
QFont NavigationFont();
// The information labels under the navigation bar: 12-pixel 宋体.
QFont LabelFont();

} // namespace app
