#include "core/Batch/DropAreaAnimation.h"

namespace vantrel {

std::optional<QString> DropAreaAnimation::tick()
{
    if (m_counter > kFrames) {
        restart();
        return std::nullopt;
    }
    return QStringLiteral("%1.png").arg(m_counter++);
}

} // namespace vantrel
