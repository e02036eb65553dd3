#include "components/DisableSubviews.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>
#include <QWidget>

namespace vantrel::DisableSubviews {

namespace {

// The counterpart of "responds to setEnabled:" for a control: leaf input widgets only.
bool isControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSlider*>(w)
        || qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w)
        || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) || w->property("isControl").toBool();
}

// Through the meta-object, so a control that declares its own setEnabled slot (with rules of
// its own) gets it, as a message to the object would; QWidget's slot otherwise.
void setEnabled(QWidget* w, bool enabled)
{
    QMetaObject::invokeMethod(w, "setEnabled", Qt::DirectConnection, Q_ARG(bool, enabled));
}

bool inRange(int tag, int location, int length)
{
    const auto t = static_cast<unsigned>(tag);
    const auto loc = static_cast<unsigned>(location);
    return loc <= t && t - loc < static_cast<unsigned>(length);
}

bool isOfType(const QWidget* w, const QMetaObject& type)
{
    return w->metaObject()->inherits(&type);
}

} // namespace

int tagOf(const QWidget* view)
{
    return view ? view->property("tag").toInt() : 0;
}

void setTag(QWidget* view, int tag)
{
    view->setProperty("tag", tag);
}

void disableSubviews(QWidget* root, bool disable, const Filter& filter)
{
    if (!root)
        return;
    const Filter accept = filter ? filter : [](QWidget*) { return true; };
    const auto children = root->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        disableSubviews(child, disable, accept);
        if (accept(child) && isControl(child))
            setEnabled(child, !disable);
    }
}

void disableSubviews(QWidget* root, bool disable)
{
    disableSubviews(root, disable, Filter());
}

void disableSubviewsOfType(QWidget* root, bool disable, const QMetaObject& type)
{
    disableSubviews(root, disable, [&type](QWidget* w) { return isOfType(w, type); });
}

void disableSubviewsInTagRange(QWidget* root, bool disable, int location, int length)
{
    disableSubviews(root, disable, [=](QWidget* w) { return inRange(tagOf(w), location, length); });
}

void disableSubviewsStartTag(QWidget* root, bool disable, int startTag, int endTag)
{
    disableSubviewsInTagRange(root, disable, startTag, endTag - startTag + 1);
}

void disableSubviewsWithTags(QWidget* root, bool disable, const std::set<int>& tags)
{
    disableSubviews(root, disable, [&tags](QWidget* w) { return tags.count(tagOf(w)) > 0; });
}

void disableSubviewsOfTypeInTagRange(QWidget* root, bool disable, const QMetaObject& type, int location, int length)
{
    disableSubviews(root, disable,
        [&type, location, length](QWidget* w) { return isOfType(w, type) && inRange(tagOf(w), location, length); });
}

void disableSubviewsOfTypeWithTags(QWidget* root, bool disable, const QMetaObject& type, const std::set<int>& tags)
{
    disableSubviews(
        root, disable, [&type, &tags](QWidget* w) { return isOfType(w, type) && tags.count(tagOf(w)) > 0; });
}

} // namespace vantrel::DisableSubviews
