#include "components/ButtonTextColor.h"

#include <cstdio>

#include <QAbstractButton>
#include <QColor>
#include <QPalette>

namespace vantrel {

void changeButtonTextColor(QAbstractButton* button, const QColor& color)
{
    std::fprintf(stderr, "changeButtonTextColor Start\n");
    if (button) {
        // A Qt button has one title for both states; its colour comes from the palette.
        QPalette palette = button->palette();
        for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
            palette.setColor(group, QPalette::ButtonText, color);
            palette.setColor(group, QPalette::WindowText, color);
        }
        button->setPalette(palette);
    }
    std::fprintf(stderr, "changeButtonTextColor End\n");
}

} // namespace vantrel
