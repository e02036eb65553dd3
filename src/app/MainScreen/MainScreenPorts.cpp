#include "app/MainScreen/MainScreenPorts.h"

#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

QList<PhotoFilePtr> AddPhotosPort::getSelectedPhotoFiles()
{
    QList<PhotoFilePtr> selected;
    for (const PhotoFilePtr& photo : AppDelegate::shareDelegate()->arraySelectedImagesToProcess) {
        if (photo && photo->isSelected())
            selected.append(photo);
    }
    return selected;
}

} // namespace vantrel
