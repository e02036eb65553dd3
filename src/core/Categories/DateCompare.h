#pragma once

#include <QDateTime>

/// Order tests between two moments (the first argument compared with the second).
namespace vantrel::DateCompare {

inline bool isLaterThan(const QDateTime& date, const QDateTime& other)
{
    return date > other;
}

inline bool isEarlierThan(const QDateTime& date, const QDateTime& other)
{
    return date < other;
}

inline bool isLaterThanOrEqualTo(const QDateTime& date, const QDateTime& other)
{
    return !(date < other);
}

inline bool isEarlierThanOrEqualTo(const QDateTime& date, const QDateTime& other)
{
    return !(date > other);
}

} // namespace vantrel::DateCompare
