#pragma once

#include <QString>

namespace vantrel::WizardLook {

/// Style of the main screen's text buttons: accent-filled for the main action, outlined otherwise.
QString buttonStyle(bool primary);

} // namespace vantrel::WizardLook
