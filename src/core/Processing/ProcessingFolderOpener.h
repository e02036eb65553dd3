#pragma once

#include "core/Processing/RunInterfaces.h"

namespace vantrel {

/// Opens a folder in the desktop's file browser.
class ProcessingFolderOpener : public RunFolderOpener {
public:
    void openFolder(const QString& path) override;
};

} // namespace vantrel
