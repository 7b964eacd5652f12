#include "util/core/apperror.h"

namespace brevnote {

AppError::AppError(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8()) {}

} // namespace brevnote
