#pragma once

#include <optional>

#include <QtGlobal>

#include "core/DataBeans/SizeObject.h"

namespace vantrel {

/// What a run does to every photo's geometry: the target size, a rotation and the flips. A plain
/// value: a copy is an independent snapshot, and the run works on its own copy. No equality
/// operator.
class ResizingOptionsSettingObject {
public:
    static constexpr const char* kClassName = "ResizingOptionsSettingObject";

    bool isHorizontalFlip = false; ///< mirror left-right
    bool isVerticalFlip = false; ///< mirror top-bottom
    /// 0 none; 1 a quarter turn clockwise; 2 a quarter turn counter-clockwise; 3 a half turn;
    /// 4 automatic correction by the EXIF orientation.
    qint32 rotationType = 0;
    /// A new record holds its own default size; only a decoded archive without one holds nil.
    std::optional<SizeObject> sizeObject = SizeObject();

    void encodeWithCoder(KeyedArchiver& coder) const;
    /// Reads from zero values: absent keys give 0, NO and a nil size.
    static ResizingOptionsSettingObject initWithCoder(KeyedUnarchiver& coder);
};

} // namespace vantrel
