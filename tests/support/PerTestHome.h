#pragma once

#include <memory>

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantrel::test {

/// Gives every test a home of its own and waits, after it, for the work it started.
///
/// Before a test: a new temporary home (HOME, the XDG folders, the Pictures folder), the user
/// settings of Qt and of the application read from there, and a new application delegate, so no
/// settings, saved session, log database or shared state of one test reaches the next. After it (its fixture gone): the
/// event loop turns until no serial queue holds a job and the global thread pool is idle, and the callbacks those
/// posted to the main thread have run; only then is the home removed. Work still running after kDrainLimitMs is
/// reported and makes `leftWorkRunning()` true, so the process can fail. Between tests the process is back in the home
/// it had when this was made.
class PerTestHome : public ::testing::EmptyTestEventListener {
public:
    static constexpr int kDrainLimitMs = 60'000;

    /// `fixedHome`, when not empty, is used for every test instead of a new one (a second process
    /// started by a test carries on in its parent's home).
    explicit PerTestHome(QString fixedHome = {});

    void OnTestStart(const ::testing::TestInfo& info) override;
    void OnTestEnd(const ::testing::TestInfo& info) override;

    /// The home of the test that runs.
    QString home() const { return m_home; }
    bool leftWorkRunning() const { return m_leftWorkRunning; }

    /// Turns the event loop until the queues are idle; false when `ms` passed first.
    static bool drainStartedWork(int ms = kDrainLimitMs);

private:
    QString m_fixedHome;
    QString m_processHome;
    QString m_home;
    std::unique_ptr<QTemporaryDir> m_root;
    bool m_leftWorkRunning = false;
};

/// Appends a PerTestHome to the listeners of the test program; the program's result is
/// RUN_ALL_TESTS() made non-zero when a test left work running.
int runAllTestsEachInItsOwnHome(const QString& fixedHome = {});

} // namespace vantrel::test
