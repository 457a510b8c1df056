#pragma once

#include <QApplication>
#include <QString>

namespace app {

// The caption of the splash window and of every message box, and the prefix of the main
// window's caption.
QString ApplicationTitle();

// Shows the text of the exception being handled in an error message box. Call only from inside
// a catch block.
void ReportCurrentException();

// The text of the exception being handled: the message of our own errors, what() otherwise.
QString CurrentExceptionText();

// The program's application object. Every event is delivered through the general error handler:
// an exception that escapes an event handler is shown in an error message box and the operation
// it came from ends there; the program keeps running.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Delivers `event` to `receiver` through `application`'s own notify, catching what escapes.
    // Returns false when an exception was reported.
    static bool NotifyGuarded(QApplication* application, QObject* receiver, QEvent* event);
};

} // namespace app
