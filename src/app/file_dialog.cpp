#include "app/file_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include <deque>

namespace app {

namespace {

struct ScriptState
{
    bool active = false;
    std::deque<QString> names;
    QStringList captions;
};

ScriptState& script()
{
    static ScriptState state;
    return state;
}

QString nextScriptedName(const QString& caption)
{
    ScriptState& state = script();
    state.captions.push_back(caption);
    if (state.names.empty())
        return {};
    QString name = state.names.front();
    state.names.pop_front();
    return name;
}

} // namespace

QString FileDialog::getOpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& folder)
{
    if (script().active)
        return nextScriptedName(caption);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString FileDialog::getSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& defaultName)
{
    if (script().active)
        return nextScriptedName(caption);
    return QFileDialog::getSaveFileName(parent, caption, defaultName, filter);
}

void FileDialog::startScript()
{
    script() = ScriptState{};
    script().active = true;
}

void FileDialog::stopScript()
{
    script() = ScriptState{};
}

void FileDialog::setNextFileName(const QString& fileName)
{
    script().names.push_back(fileName);
}

const QStringList& FileDialog::requestedCaptions()
{
    return script().captions;
}

} // namespace app
