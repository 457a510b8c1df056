#include "app/application.h"

#include "app/app_error.h"
#include "app/message_box.h"
#include "db/db_error.h"

#include <exception>

namespace app {

QString ApplicationTitle()
{
    return QStringLiteral("玄圃学苑院士候选人提名系统");
}

QString CurrentExceptionText()
{
    try {
        throw;
    } catch (const db::DbError& error) {
        return error.message();
    } catch (const AppError& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("未知错误");
    }
}

void ReportCurrentException()
{
    MessageBox::error(CurrentExceptionText());
}

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    return NotifyGuarded(this, receiver, event);
}

bool TApplication::NotifyGuarded(QApplication* application, QObject* receiver, QEvent* event)
{
    try {
        return application->QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

} // namespace app
