#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "core/DataBeans/OutputOptionSettings.h"
#include "core/DataBeans/ResizingOptionsSettingObject.h"
#include "core/DataBeans/SizeObject.h"

namespace vantrel {

/// A saved session: the size preset list and the last resize and output choices. Stored as a keyed
/// archive in the defaults under "PROJECT_SESSION". A new session holds nothing: a null date, an
/// empty preset list and nil option records. A plain value; no equality operator.
class ProjectSession {
public:
    static constexpr const char* kClassName = "ProjectSession";

    QString dateString; ///< the date of the saved session
    /// The size preset list in list order. An archive without one reads as an empty list, to
    /// which presets can be added.
    QList<SizeObject> arrayPredefinedSize;
    std::optional<ResizingOptionsSettingObject> resizeSettingObject; ///< the last resize choice
    std::optional<OutputOptionSettings> outputSettingObject; ///< the last output choice

    void encodeWithCoder(KeyedArchiver& coder) const;
    static ProjectSession initWithCoder(KeyedUnarchiver& coder);
};

} // namespace vantrel
