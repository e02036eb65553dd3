#include "core/Wizard/AlertCatalogue.h"

#include <array>

#include "core/Helper/Caption.h"
#include "core/Helper/CommonFunc.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {

using B = AlertButton;

struct Entry {
    int tag;
    const char* titleKey;
    const char* messageKey;
    QList<AlertButton> buttons;
};

const std::array<Entry, 23>& entries()
{
    static const std::array<Entry, 23> table { {
        { 100, "ID_ALERT_100_TITLE", "ID_ALERT_100_MESSAGE", { B::Yes, B::No } },
        { 101, "ID_ALERT_101_TITLE", "ID_ALERT_101_MESSAGE", { B::Yes, B::No } },
        { 102, "ID_ALERT_102_TITLE", "ID_ALERT_102_MESSAGE", { B::Ok } },
        { 103, "ID_ALERT_103_TITLE", "ID_ALERT_103_MESSAGE", { B::RemoveFromBatch } },
        { 104, "ID_ALERT_104_TITLE", "ID_ALERT_104_MESSAGE", { B::RemoveFromBatch } },
        { 105, "ID_ALERT_105_TITLE", "ID_ALERT_105_MESSAGE", { B::RemoveFromBatch } },
        { 106, "ID_ALERT_106_TITLE", "ID_ALERT_106_MESSAGE", { B::RemoveFromBatch } },
        { 107, "ID_ALERT_107_TITLE", "ID_ALERT_107_MESSAGE", { B::Ok } },
        { 109, "ID_ALERT_109_TITLE", "ID_ALERT_109_MESSAGE", { B::Ok } },
        { 110, "ID_ALERT_110_TITLE", "ID_ALERT_110_MESSAGE", { B::Ok } },
        { 111, "ID_ALERT_111_TITLE", "ID_ALERT_111_MESSAGE", { B::Ok } },
        { 112, "ID_ALERT_112_TITLE", "ID_ALERT_112_MESSAGE", { B::Ok } },
        { 113, "ID_ALERT_113_TITLE", "ID_ALERT_113_MESSAGE", { B::Yes, B::No } },
        { 114, "ID_ALERT_114_TITLE", "ID_ALERT_114_MESSAGE", { B::Yes, B::No } },
        { 115, "ID_ALERT_115_TITLE", "ID_ALERT_115_MESSAGE", { B::Ok } },
        { 116, "ID_ALERT_116_TITLE", "ID_ALERT_116_MESSAGE", { B::Ok } },
        { 117, "ID_ALERT_117_TITLE", "ID_ALERT_117_MESSAGE", { B::Ok } },
        { 118, "ID_ALERT_118_TITLE", "ID_ALERT_118_MESSAGE", { B::Ok } },
        { 119, "ID_ALERT_119_TITLE", "ID_ALERT_119_MESSAGE", { B::UseJpeg, B::UsePng, B::SkipRaw, B::Cancel } },
        { 120, "ID_ALERT_120_TITLE", "ID_ALERT_120_MESSAGE", { B::Ok, B::Cancel } },
        { 121, "ID_ALERT_121_TITLE", "ID_ALERT_121_MESSAGE", { B::UseJpeg, B::UsePng, B::SkipRaw, B::Cancel } },
        { 122, "ID_ALERT_122_TITLE", "ID_ALERT_122_MESSAGE", { B::Yes, B::No } },
        { 123, "ID_ALERT_123_TITLE", "ID_ALERT_123_MESSAGE", { B::Ok } },
    } };
    return table;
}

QString plural(bool many)
{
    return many ? QStringLiteral("s") : QString();
}

/// Fills the placeholders of the alerts that have them; the others keep their texts.
void fill(int tag, const AlertCounts& counts, Caption& title, Caption& message)
{
    switch (tag) {
    case 109:
        message = message.arg(qint64(1'000'000));
        break;
    case 110: {
        const bool manyPhotos = counts.totalPhotoToAdd >= 2;
        title = title.arg(plural(manyPhotos));
        message = message.arg(counts.damagedFileCount < 2 ? QStringLiteral("File") : QStringLiteral("Some files"))
                      .arg(manyPhotos ? QStringLiteral("They are") : QStringLiteral("It is"));
        break;
    }
    case 111: {
        const bool many = counts.alreadyExistsPhotosCount >= 2;
        title = title.arg(plural(many));
        message = message.arg(plural(many)).arg(plural(!many));
        break;
    }
    case 113:
        title = title.arg(plural(counts.selectedCount > 1));
        message = message.arg(plural(counts.selectedCount > 1));
        break;
    case 114: {
        const bool many = counts.batchCount >= 2;
        title = title.arg(many ? QStringLiteral("all ") : QString()).arg(plural(many));
        message = message.arg(many ? QStringLiteral("all the ") : QString()).arg(plural(many));
        break;
    }
    case 116:
        title = title.arg(plural(counts.batchCount > 1));
        message = message.arg(plural(counts.batchCount > 1));
        break;
    case 120:
    case 121:
        // The folder the run really writes library photos to.
        message = message.arg(Paths::libraryOutputFolder());
        break;
    default:
        break;
    }
}

} // namespace

std::optional<AlertContent> AlertCatalogue::alertForTag(int tag, const AlertCounts& counts)
{
    for (const Entry& entry : entries()) {
        if (entry.tag != tag)
            continue;
        Caption title = CommonFunc::getLocalizedStringForKey(QString::fromLatin1(entry.titleKey));
        Caption message = CommonFunc::getLocalizedStringForKey(QString::fromLatin1(entry.messageKey));
        fill(tag, counts, title, message);

        AlertContent alert;
        alert.tag = tag;
        alert.title = title.toString();
        alert.message = message.toString();
        alert.buttons = entry.buttons;
        alert.escapeButton = escapeButtonFor(tag, alert.buttons);
        alert.focusedButton = focusedButtonFor(tag, alert.buttons);
        if (tag == 119) {
            alert.width = 710;
            alert.cancelX = 139;
        } else if (tag == 121) {
            alert.width = 700;
            alert.height = 270;
            alert.cancelX = 139;
            alert.highlightedMessage = true;
        } else if (tag == 120) {
            alert.cancelX = 384;
        }
        return alert;
    }
    return std::nullopt;
}

AlertContent AlertCatalogue::message(const QString& title, const QString& message)
{
    AlertContent alert;
    alert.title = title;
    alert.message = message;
    alert.buttons = { AlertButton::Ok };
    alert.escapeButton = escapeButtonFor(alert.tag, alert.buttons);
    alert.focusedButton = focusedButtonFor(alert.tag, alert.buttons);
    return alert;
}

std::optional<AlertButton> AlertCatalogue::escapeButtonFor(int tag, const QList<AlertButton>& buttons)
{
    if (buttons.contains(AlertButton::Cancel))
        return AlertButton::Cancel;
    // No keeps the photos (113, 114) and resumes a held run (122).
    if (buttons.contains(AlertButton::No))
        return AlertButton::No;
    // The OK of 102 ends the run that ran out of space; every other lone OK only acknowledges.
    if (buttons == QList<AlertButton> { AlertButton::Ok } && tag != 102)
        return AlertButton::Ok;
    return std::nullopt;
}

std::optional<AlertButton> AlertCatalogue::focusedButtonFor(int tag, const QList<AlertButton>& buttons)
{
    if (buttons.isEmpty())
        return std::nullopt;
    // A Return pressed without reading must never remove photos from the batch.
    if ((tag == 113 || tag == 114) && buttons.contains(AlertButton::No))
        return AlertButton::No;
    return buttons.first();
}

} // namespace vantrel
