#pragma once

#include <QString>
#include <stdexcept>

namespace app {

// A failure outside the database layer (files, folders, documents), with a text for the user.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace app
