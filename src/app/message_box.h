#pragma once

#include <QString>
#include <QVector>

namespace app {

// Every message box of the program goes through here. Captions are always the application title.
//
// For tests the boxes can be scripted: while a script runs nothing is shown, every box is recorded
// and questions take their answers from a queue (an unanswered question reads as No).
class MessageBox
{
public:
    enum class Icon { None, Error, Warning, Question, Information };

    struct Shown
    {
        Icon icon;
        QString caption;
        QString text;
        bool yesNo; // a question with Yes and No rather than a notice with OK
    };

    // An error: error icon, OK.
    static void error(const QString& text);
    // A completion notice: information icon, OK.
    static void information(const QString& text);
    // A hint: no icon, OK.
    static void notice(const QString& text);
    // A question with a warning icon: Yes and No; true when the user chose Yes.
    static bool warning(const QString& text);
    // A question with a question icon: Yes and No; true when the user chose Yes.
    static bool question(const QString& text);

    // Scripting for tests.
    static void startScript();
    static void stopScript();
    static bool scripted();
    static void setNextAnswer(bool yes);
    static const QVector<Shown>& shown();
    static void clearShown();

    // Starts a script for the lifetime of the object.
    class ScriptScope
    {
    public:
        ScriptScope() { startScript(); }
        ~ScriptScope() { stopScript(); }
        ScriptScope(const ScriptScope&) = delete;
        ScriptScope& operator=(const ScriptScope&) = delete;
    };

private:
    static bool show(Icon icon, const QString& text, bool yesNo);
};

} // namespace app
