#pragma once

#include <optional>

#include <QList>
#include <QString>

namespace vantrel {

/// The eight buttons of the shared alert sheet. PNG shares the Yes action and JPEG the No action.
enum class AlertButton { Yes, No, Ok, RemoveFromBatch, UsePng, UseJpeg, SkipRaw, Cancel };

/// The counts that fill the placeholders of some alerts.
struct AlertCounts {
    int totalPhotoToAdd = 0; ///< photos the last add run found (110)
    int damagedFileCount = 0; ///< files the last add run refused (110)
    int alreadyExistsPhotosCount = 0; ///< photos the last add run found already in the batch (111)
    int selectedCount = 0; ///< checked photos of the batch (113)
    int batchCount = 0; ///< photos in the batch (114, 116)
};

/// What the shared alert sheet shows for one alert number.
struct AlertContent {
    /// Alert 121 draws every occurrence of this text in its message brighter and larger.
    static constexpr char kRawHighlight[] = "RAW format image exists";

    int tag = 0;
    QString title;
    QString message;
    QList<AlertButton> buttons; ///< the visible buttons, in the order they are laid out
    int width = 623;
    int height = 209;
    std::optional<int> cancelX; ///< the Cancel button's x position, when the alert moves it
    bool highlightedMessage = false; ///< the message is left-aligned, grey, with kRawHighlight in white
    /// The button Escape answers with: Cancel, else No, else an only OK that just acknowledges;
    /// none where every answer removes or discards something (photos, a held run).
    std::optional<AlertButton> escapeButton;
    /// The button the sheet opens with the focus on, which Return presses: the first, except
    /// where Yes removes photos from the batch (113, 114), whose focus is on the No that keeps
    /// them.
    std::optional<AlertButton> focusedButton;
};

/// The alerts 100 to 123: title and message from the language table with their placeholders
/// filled, the buttons and the sheet's size. Numbers without an entry (108, anything outside 100
/// to 123) give nothing.
class AlertCatalogue {
public:
    AlertCatalogue() = delete;
    static std::optional<AlertContent> alertForTag(int tag, const AlertCounts& counts);
    /// A message of the application's own with the alert sheet's look: title, message and OK
    /// (tag 0, so OK only closes it).
    static AlertContent message(const QString& title, const QString& message);
    /// The Escape answer of an alert showing `buttons` (see AlertContent::escapeButton).
    static std::optional<AlertButton> escapeButtonFor(int tag, const QList<AlertButton>& buttons);
    /// The button an alert showing `buttons` opens with the focus on (AlertContent::focusedButton).
    static std::optional<AlertButton> focusedButtonFor(int tag, const QList<AlertButton>& buttons);
};

} // namespace vantrel
