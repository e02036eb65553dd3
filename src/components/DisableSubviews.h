#pragma once

#include <functional>
#include <set>

class QWidget;
class QMetaObject;

namespace vantrel {

/// Enabling and disabling of the controls inside a widget tree, filtered by class and tags.
/// The flag is "disable": true disables, false enables. Only leaf controls (buttons, fields,
/// sliders...) are changed, never plain containers and never the root itself, because Qt disables
/// a whole subtree with its parent. A widget's tag is its integer "tag" property (0 when unset).
namespace DisableSubviews {

using Filter = std::function<bool(QWidget*)>;

int tagOf(const QWidget* view);
void setTag(QWidget* view, int tag);

void disableSubviews(QWidget* root, bool disable, const Filter& filter);
void disableSubviews(QWidget* root, bool disable);
void disableSubviewsOfType(QWidget* root, bool disable, const QMetaObject& type);
/// Tags t with location <= t and t - location < length, compared without sign.
void disableSubviewsInTagRange(QWidget* root, bool disable, int location, int length);
/// Tags from start to end inclusive (range: start, end - start + 1).
void disableSubviewsStartTag(QWidget* root, bool disable, int startTag, int endTag);
void disableSubviewsWithTags(QWidget* root, bool disable, const std::set<int>& tags);
void disableSubviewsOfTypeInTagRange(QWidget* root, bool disable, const QMetaObject& type, int location, int length);
void disableSubviewsOfTypeWithTags(QWidget* root, bool disable, const QMetaObject& type, const std::set<int>& tags);

} // namespace DisableSubviews
} // namespace vantrel
