#pragma once

#include <QString>

namespace vantrel {

class KeyedArchiver;
class KeyedUnarchiver;

/// The target size of a run, and the type of a size preset. A plain value: a copy is an
/// independent snapshot. There is no equality operator; the preset search compares the fields
/// it names.
class SizeObject {
public:
    /// The class name under which the keyed archive stores this record.
    static constexpr const char* kClassName = "SizeObject";

    bool isCustomSize = false; ///< the size is given in pixels (customWidth, customHeight)
    bool isPercentSize = false; ///< the size is given in percent (perWidth, perHeight)
    bool isKeepAspectRatio = false;
    bool isKeepOriginalSize = false; ///< the photo keeps its size; the other size fields are ignored
    bool isPredefinedSize = false; ///< the object is (or was taken from) a preset of the preset list
    bool isSaveAsPredefined = false; ///< add this size to the preset list after the run
    qint32 predefinedIndex = -1; ///< index in the preset list; -1 for none
    double customHeight = 0;
    double customWidth = 0;
    double perHeight = 0;
    double perWidth = 0;
    QString name = QStringLiteral(""); ///< a preset's display name; empty for an unnamed size

    /// Writes the keys; the four sizes pass through single precision.
    void encodeWithCoder(KeyedArchiver& coder) const;
    /// Reads from zero values: an absent key gives 0, NO or a null name (not the defaults above).
    static SizeObject initWithCoder(KeyedUnarchiver& coder);
};

} // namespace vantrel
