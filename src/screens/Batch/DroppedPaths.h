#pragma once

#include <QStringList>

class QMimeData;

namespace vantrel {

/// The local file paths of a drop on the batch views: every URL must be a local file, else the
/// drop carries nothing for them (an empty list).
QStringList droppedLocalPaths(const QMimeData* mime);

} // namespace vantrel
