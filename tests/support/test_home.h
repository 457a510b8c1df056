#pragma once

#include <QByteArray>
#include <QTemporaryDir>

namespace testing_support {

// Points the home and configuration folders at a temporary folder for the whole test program, so
// that documents the tests print (into the documents folder) never reach the real user's folders.
inline void useTemporaryHome()
{
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qunsetenv("XDG_DOCUMENTS_DIR");
}

} // namespace testing_support
