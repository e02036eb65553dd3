#pragma once

#include <QList>
#include <QString>

#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

/// The batch line shown under the photos and in the window's footer:
/// "Batch Count: %@  |  Batch Size: %@  " with the count and "<size> approx.", the whole line in
/// grey and the count and size texts in white.
class BatchInfoLine {
public:
    struct Range {
        qsizetype start = 0;
        qsizetype length = 0;
        bool operator==(const Range&) const = default;
    };

    /// The line's text with the start and length of every white part, in text order.
    struct Styled {
        QString text;
        QList<Range> highlights;
    };

    static constexpr int kGrey = 184; ///< red, green and blue of the line's text

    BatchInfoLine() = delete;

    /// The sum of the photos' byte counts.
    static double totalBytes(const QList<PhotoFilePtr>& batch);
    /// The line for `count` photos of `bytes` in all. Each occurrence of the count text and of
    /// the size text, each read as a regular expression over the line, is highlighted.
    static Styled make(qsizetype count, double bytes);
    static Styled make(const QList<PhotoFilePtr>& batch) { return make(batch.size(), totalBytes(batch)); }
    /// The styled line as rich text: grey with its white parts, blanks kept; "" for an empty line.
    static QString toHtml(const Styled& line);
};

} // namespace vantrel
