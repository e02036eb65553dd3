#include "core/Wizard/ConvertDecision.h"

#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

bool ConvertDecision::hasLibraryPhotos(const QList<PhotoFilePtr>& batch)
{
    for (const PhotoFilePtr& photo : batch) {
        if (photo && photo->isIphotosNode())
            return true;
    }
    return false;
}

bool ConvertDecision::hasRawPhotos(const QList<PhotoFilePtr>& batch)
{
    for (const PhotoFilePtr& photo : batch) {
        if (!photo || !photo->isSelected())
            continue;
        const QString extension = photo->fileExtension().toLower();
        bool common = false;
        for (const char* format : OutputOptionSettings::kOutputFormats)
            common = common || extension == QLatin1String(format);
        if (!common)
            return true;
    }
    return false;
}

ConvertStep ConvertDecision::decide(
    const QList<PhotoFilePtr>& batch, const OutputOptionSettings& output, bool isRawImageExist)
{
    const bool library = hasLibraryPhotos(batch);
    const bool raw = hasRawPhotos(batch);
    const bool keepFormat = output.formatOption == 0;
    const bool besideSource = output.folderOption == 0;
    if (isRawImageExist && library && raw && keepFormat && besideSource)
        return ConvertStep::AskLibraryFolderAndRawFormat;
    if (isRawImageExist && raw && keepFormat)
        return ConvertStep::AskRawFormat;
    if (!library)
        return ConvertStep::Start;
    if (!besideSource)
        return ConvertStep::Start;
    return ConvertStep::AskLibraryFolder;
}

int ConvertDecision::alertFor(ConvertStep step)
{
    switch (step) {
    case ConvertStep::AskRawFormat:
        return 119;
    case ConvertStep::AskLibraryFolder:
        return 120;
    case ConvertStep::AskLibraryFolderAndRawFormat:
        return 121;
    case ConvertStep::Start:
        break;
    }
    return 0;
}

} // namespace vantrel
