#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace brevnote {

// The error a command raises to its caller; windows catch it and show its message
// in the standard error box, and only that command ends.
class AppError final : public std::exception {
public:
    explicit AppError(QString message);

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace brevnote
