#pragma once

#include <QString>

namespace app {

// The shell folder number of the user's documents folder.
inline constexpr int kCsidlPersonal = 5;

// The value of an environment variable, or an empty text when it is not set.
QString GetEnvironmentString(const QString& name);

// The path of a special folder (no trailing separator), or an empty text when there is none.
// 5 is the user's documents folder; 0 the desktop; 26 the application data folder.
QString GetSpecialFolder(int csidl);

// The folder printed files go to: the documents folder followed by "QZV2009/", created (with
// every missing parent) when it does not exist. Throws AppError when it cannot be created.
QString GetWorkFolder();

// A new unique file name in the temporary folder (the one named by "Temp", else the system's):
// "_" + hexadecimal number + ".tmp", then `ext`. With an empty `ext` the returned file exists
// (empty); with an extension the returned name does not exist, and the ".tmp" file that reserves
// it stays on disk so that the same name is never handed out twice. Throws AppError on failure.
QString MakeTempFileName(const QString& ext);

} // namespace app
