#pragma once

#include <optional>

#include <QRectF>

namespace vantrel {

/// Where one item or supplementary view goes, in document coordinates (origin top left, y down).
/// A layout with no answer gives std::nullopt ("nil attributes"), which callers treat as a zero
/// rectangle.
struct KeltCollectionViewLayoutAttributes {
    QRectF frame;
    double alpha = 0.0;
    qint64 zIndex = 0;
};

using OptionalLayoutAttributes = std::optional<KeltCollectionViewLayoutAttributes>;

} // namespace vantrel
