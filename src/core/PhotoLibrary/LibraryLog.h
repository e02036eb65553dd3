#pragma once

#include <QLoggingCategory>

namespace vantrel {

/// Diagnostic and failure lines of the photo-library readers (standard error by default).
Q_DECLARE_LOGGING_CATEGORY(lcPhotoLibrary)

} // namespace vantrel
