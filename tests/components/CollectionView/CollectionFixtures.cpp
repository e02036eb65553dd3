#include "CollectionFixtures.h"

#include "components/CollectionView/KeltCollectionView.h"
#include "components/CollectionView/KeltCollectionViewCell.h"

namespace vantrel::testing {

KeltCollectionViewCell* CountsDataSource::cellForItemAtIndexPath(KeltCollectionView* view, KeltIndexPath path)
{
    ++cellsAsked;
    return view ? view->dequeueReusableCellWithIdentifier(QStringLiteral("CELL"), int(path.kelt_item())) : nullptr;
}

std::vector<std::string> names(const std::vector<KeltIndexPath>& paths)
{
    std::vector<std::string> out;
    for (const auto& path : paths)
        out.push_back(RecordingDelegate::name(path));
    return out;
}

} // namespace vantrel::testing
