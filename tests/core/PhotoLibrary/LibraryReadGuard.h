#pragma once

#include <map>
#include <string>
#include <vector>

#include <QDir>
#include <QString>

#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "support/LibraryFixtures.h"

namespace vantrel {

/// Records every file under the test's folder and the home folder (the private caches folder
/// left out) and, on check(), expects them unchanged and the caches folder empty again: a library
/// read must change nothing in the package and leave nothing behind.
class LibraryReadGuard {
public:
    explicit LibraryReadGuard(const QString& testFolder)
        : m_testFolder(testFolder)
        , m_caches(Paths::cachesFolder())
        , m_before(snapshot())
    {
    }

    void check() const
    {
        EXPECT_EQ(libraryfixtures::treeDifferences(m_before, snapshot()), std::vector<std::string>())
            << "a library read changed files outside the private caches folder";
        EXPECT_TRUE(QDir(m_caches).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            << "the private copy was left in " << m_caches.toStdString();
    }

private:
    std::map<std::string, std::string> snapshot() const
    {
        auto tree = libraryfixtures::snapshotTree(m_testFolder);
        for (auto& [path, digest] : libraryfixtures::snapshotTree(QDir::homePath(), { m_caches }))
            tree.emplace("~" + path, digest);
        return tree;
    }

    QString m_testFolder;
    QString m_caches;
    std::map<std::string, std::string> m_before;
};

} // namespace vantrel
