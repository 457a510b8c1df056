#pragma once

#include <QString>

class QWidget;

namespace app {

// Every open and save file dialog of the program goes through here.
//
// For tests the dialogs can be scripted: while a script runs nothing is shown and each call
// returns the next queued name (an empty name, as for a cancelled dialog, when none is queued).
class FileDialog
{
public:
    // `filter` as Qt writes it, for example "数据文件 (*.mdb)". Empty when cancelled.
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                   const QString& folder = {});
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                   const QString& defaultName = {});

    static void startScript();
    static void stopScript();
    static void setNextFileName(const QString& fileName);
    // The captions of the dialogs asked for while scripted, in order.
    static const QStringList& requestedCaptions();
};

} // namespace app
