#include "app/message_box.h"

#include "app/application.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <deque>

namespace app {

namespace {

struct ScriptState
{
    bool active = false;
    std::deque<bool> answers;
    QVector<MessageBox::Shown> shown;
};

ScriptState& script()
{
    static ScriptState state;
    return state;
}

QMessageBox::Icon qtIcon(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Icon::Error:
        return QMessageBox::Critical;
    case MessageBox::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBox::Icon::Question:
        return QMessageBox::Question;
    case MessageBox::Icon::None:
        return QMessageBox::NoIcon;
    case MessageBox::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

bool showQtBox(MessageBox::Icon icon, const QString& text, bool yesNo)
{
    QMessageBox box(qtIcon(icon), ApplicationTitle(), text, QMessageBox::NoButton, QApplication::activeWindow());
    if (yesNo) {
        box.addButton(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.addButton(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.addButton(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    }
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void MessageBox::error(const QString& text)
{
    show(Icon::Error, text, false);
}

void MessageBox::information(const QString& text)
{
    show(Icon::Information, text, false);
}

void MessageBox::notice(const QString& text)
{
    show(Icon::None, text, false);
}

bool MessageBox::warning(const QString& text)
{
    return show(Icon::Warning, text, true);
}

bool MessageBox::question(const QString& text)
{
    return show(Icon::Question, text, true);
}

bool MessageBox::show(Icon icon, const QString& text, bool yesNo)
{
    ScriptState& state = script();
    if (!state.active)
        return showQtBox(icon, text, yesNo);
    state.shown.push_back({icon, ApplicationTitle(), text, yesNo});
    if (!yesNo || state.answers.empty())
        return false;
    const bool answer = state.answers.front();
    state.answers.pop_front();
    return answer;
}

void MessageBox::startScript()
{
    script() = ScriptState{};
    script().active = true;
}

void MessageBox::stopScript()
{
    script() = ScriptState{};
}

bool MessageBox::scripted()
{
    return script().active;
}

void MessageBox::setNextAnswer(bool yes)
{
    script().answers.push_back(yes);
}

const QVector<MessageBox::Shown>& MessageBox::shown()
{
    return script().shown;
}

void MessageBox::clearShown()
{
    script().shown.clear();
}

} // namespace app
