#include "components/CollectionView/KeltCollectionViewReusableView.h"

namespace vantrel {

KeltCollectionViewReusableView::KeltCollectionViewReusableView(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Collection supplementary view"));
}

void KeltCollectionViewReusableView::setAlphaValue(double alpha)
{
    if (m_alphaValue == alpha)
        return;
    m_alphaValue = alpha;
    update();
}

} // namespace vantrel
