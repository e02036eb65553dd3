#pragma once

#include <QString>

#include "components/CollectionView/KeltIndexPath.h"

namespace vantrel {

class KeltCollectionView;
class KeltCollectionViewCell;
class KeltCollectionViewReusableView;

/// Supplies the counts and cells of a collection view. Not owned by the view. Optional
/// operations have default bodies that behave as an object that does not answer them.
class KeltCollectionViewDataSource {
public:
    virtual ~KeltCollectionViewDataSource() = default;

    virtual qint64 numberOfItemsInSection(KeltCollectionView* collectionView, qint64 section) = 0;
    /// A cell normally taken from dequeueReusableCellWithIdentifier; nullptr leaves the item
    /// without a cell.
    virtual KeltCollectionViewCell* cellForItemAtIndexPath(KeltCollectionView* collectionView, KeltIndexPath indexPath)
        = 0;

    /// One section when not overridden. A negative answer counts as none.
    virtual qint64 numberOfSectionsInCollectionView(KeltCollectionView* collectionView);
    /// Supplementary views are only laid out when this is overridden (answersSupplementaryViews).
    virtual KeltCollectionViewReusableView* viewForSupplementaryViewOfKind(
        KeltCollectionView* collectionView, const QString& kind, qint64 section);
    virtual bool answersSupplementaryViews() const { return false; }
};

} // namespace vantrel
