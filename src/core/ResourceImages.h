#pragma once

#include <QImage>
#include <QString>

namespace vantrel {

/// The application's named images, compiled into the resources under ":/images/". Names are
/// given as the screens quote them, with or without ".png" ("place_holder.png", "pi_topLeft").
/// Safe from any thread (workers draw placeholders into QImages too).
class ResourceImages {
public:
    ResourceImages() = delete;

    /// The image of that name; a null image when there is none (a missing name draws nothing).
    static QImage named(const QString& name);
    /// The resource path of a name, or empty when there is no such image.
    static QString pathOf(const QString& name);

    /// Registers the compiled-in resources (language table and images). The resources live in a
    /// static library, so they are registered explicitly before first use. Idempotent.
    static void initResources();
};

} // namespace vantrel
