#include "PerTestHome.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QSettings>
#include <QThreadPool>

#include "TestHome.h"
#include "core/AppDelegate.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "platform/Defaults.h"

namespace vantrel::test {

namespace {

bool queuesIdle()
{
    return ProcessingSerialExecutor::unfinishedJobs() == 0 && QThreadPool::globalInstance()->activeThreadCount() == 0;
}

/// Makes `home` the home of the process, Qt's settings folder and the application's settings
/// included (Qt reads that folder only once per process unless told).
void moveInto(const QString& home)
{
    pointHomeAt(home);
    const QString config = home + "/.config";
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
    Defaults::standard().reload();
}

} // namespace

PerTestHome::PerTestHome(QString fixedHome)
    : m_fixedHome(std::move(fixedHome))
    , m_processHome(qEnvironmentVariable("HOME"))
{
}

void PerTestHome::OnTestStart(const ::testing::TestInfo&)
{
    m_root.reset();
    m_home = m_fixedHome;
    if (m_home.isEmpty()) {
        m_root = std::make_unique<QTemporaryDir>();
        m_home = m_root->path() + "/home";
    }
    moveInto(m_home);
    // The application-wide state (batch, flags, language table, database gateway) starts as a
    // new process has it, whatever the test before left there.
    AppDelegate::resetShared();
}

void PerTestHome::OnTestEnd(const ::testing::TestInfo& info)
{
    if (!drainStartedWork()) {
        m_leftWorkRunning = true;
        std::fprintf(stderr, "%s.%s left work running for %d ms after it ended\n", info.test_suite_name(), info.name(),
            kDrainLimitMs);
    }
    // The settings of this home are written out before it goes; between tests and at exit the
    // process is back in the home it started in.
    Defaults::standard().synchronize();
    if (!m_processHome.isEmpty())
        moveInto(m_processHome);
    m_root.reset();
}

bool PerTestHome::drainStartedWork(int ms)
{
    if (!QCoreApplication::instance())
        return queuesIdle();
    QDeadlineTimer limit(ms);
    while (!queuesIdle() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // What the finished work handed to the main thread, and the objects it let go of.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return queuesIdle();
}

int runAllTestsEachInItsOwnHome(const QString& fixedHome)
{
    auto* homes = new PerTestHome(fixedHome);
    ::testing::UnitTest::GetInstance()->listeners().Append(homes); // owned by the listener list
    const int result = RUN_ALL_TESTS();
    return result != 0 ? result : (homes->leftWorkRunning() ? 1 : 0);
}

} // namespace vantrel::test
