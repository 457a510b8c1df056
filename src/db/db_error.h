#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// Every failure of the database layer is thrown as a DbError carrying the engine's own text,
// so that the page (or the general error handler) can show it as it is.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }

    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace db
