#include "core/Processing/ProcessingClock.h"

#include <QCoreApplication>
#include <QTimer>

namespace vantrel {

void ProcessingClock::schedule(int milliseconds, std::function<void()> fn)
{
    if (auto* app = QCoreApplication::instance())
        QTimer::singleShot(milliseconds, app, std::move(fn));
}

} // namespace vantrel
