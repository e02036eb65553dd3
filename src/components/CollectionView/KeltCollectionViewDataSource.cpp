#include "components/CollectionView/KeltCollectionViewDataSource.h"

namespace vantrel {

qint64 KeltCollectionViewDataSource::numberOfSectionsInCollectionView(KeltCollectionView*)
{
    return 1;
}

KeltCollectionViewReusableView* KeltCollectionViewDataSource::viewForSupplementaryViewOfKind(
    KeltCollectionView*, const QString&, qint64)
{
    return nullptr;
}

} // namespace vantrel
