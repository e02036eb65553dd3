#include "components/DisableSubviews.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

struct Tree {
    QWidget root;
    QWidget* box = new QWidget(&root);
    QPushButton* buttons[6];
    QLineEdit* field = new QLineEdit(box);
    Tree()
    {
        for (int i = 0; i < 6; ++i) {
            buttons[i] = new QPushButton(i % 2 ? box : &root);
            DisableSubviews::setTag(buttons[i], i + 1);
        }
        DisableSubviews::setTag(field, 4);
    }
};

} // namespace

TEST(DisableSubviews, TagRangeFromStartToEndInclusive)
{
    struct Case {
        int start, end;
        std::set<int> disabled;
    };
    const Case cases[] = {{3, 5, {3, 4, 5}}, {5, 4, {}}, {1, 1, {1}}};
    for (const Case& c : cases) {
        Tree t;
        DisableSubviews::disableSubviewsStartTag(&t.root, true, c.start, c.end);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(!t.buttons[i]->isEnabled(), c.disabled.count(i + 1) > 0) << c.start << "-" << c.end << " tag " << i + 1;
        EXPECT_TRUE(t.box->isEnabled()) << "containers are never changed";
    }
}

TEST(DisableSubviews, ByTypeReachesNestedButtonsAndSkipsFields)
{
    Tree t;
    DisableSubviews::disableSubviewsOfType(&t.root, true, QPushButton::staticMetaObject);
    for (auto* b : t.buttons)
        EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(t.field->isEnabled());
    EXPECT_TRUE(t.root.isEnabled());

    DisableSubviews::disableSubviews(&t.root, false);
    for (auto* b : t.buttons)
        EXPECT_TRUE(b->isEnabled());
}

TEST(DisableSubviews, WithTagsAndType)
{
    Tree t;
    DisableSubviews::disableSubviewsOfTypeWithTags(&t.root, true, QLineEdit::staticMetaObject, {4});
    EXPECT_FALSE(t.field->isEnabled());
    EXPECT_TRUE(t.buttons[3]->isEnabled()) << "a button with tag 4 is not a line edit";
}
