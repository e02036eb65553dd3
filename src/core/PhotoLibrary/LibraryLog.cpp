#include "core/PhotoLibrary/LibraryLog.h"

namespace vantrel {

Q_LOGGING_CATEGORY(lcPhotoLibrary, "vantrel.photolibrary")

} // namespace vantrel
