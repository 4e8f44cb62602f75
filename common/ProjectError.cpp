#include "ProjectError.h"

ProjectError::ProjectError(Number number, const QString& description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}
