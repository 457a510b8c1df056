#pragma once

namespace app {

// Registers every page of the program in navigation order: the home page, the four groups, then
// the pages of each group.
void RegisterPages();

} // namespace app
