#pragma once

#include <memory>

#include <QDateTime>
#include <QList>
#include <QString>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/ProcessingClock.h"
#include "core/Processing/ProcessingEngine.h"

namespace vantrel {
class DBManager;
}

namespace vantrel::screentest {

/// The wall clock's deferred calls with a chosen time of day, so that runs get distinct stamps.
class SetClock : public ProcessingClock {
public:
    QDateTime now() override { return current.isValid() ? current : ProcessingClock::now(); }
    QDateTime current;
};

/// Generated photos in `folder` ("photo1.jpg" ...), selected, as the shared batch.
QList<PhotoFilePtr> makeBatch(const QString& folder, int count, int width = 96, int height = 64);

/// A run engine on the real pipeline, file probe, serial worker and the application's log database.
std::shared_ptr<ProcessingEngine> makeEngine(std::shared_ptr<RunClock> clock = std::make_shared<SetClock>());

/// Options that write JPEG copies at half size into `outputFolder`.
RunOptions halfSizeInto(const QString& outputFolder);

/// Turns the event loop until the run has ended and its last worker has returned (a generous
/// safety limit only stops a hung test). False when it did not end.
bool waitForRunEnd(ProcessingEngine& engine);

/// Turns the event loop until `done` answers true or the safety limit passes.
bool turnEventLoopUntil(const std::function<bool()>& done);

/// A fresh application state with a fresh log database in the test home.
void freshApplication();

/// freshApplication(), with the log database's two tables created empty, every column as text,
/// for tests that fill them directly.
DBManager& emptyLogDatabase();

} // namespace vantrel::screentest
