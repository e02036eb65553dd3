#include "support/FileCut.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace vantrel::test {

namespace {

bool endsWith(const std::string& line, const std::string& end)
{
    return line.size() >= end.size() && line.compare(line.size() - end.size(), end.size(), end) == 0;
}

} // namespace

bool isMapped(const QString& path)
{
    std::error_code error;
    const std::string file = std::filesystem::canonical(path.toStdString(), error).string();
    if (error)
        return false;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (endsWith(line, file))
            return true;
    return false;
}

FileCut::FileCut(const QString& path, int delayMs)
    : m_path(path)
{
    const qint64 third = QFileInfo(path).size() / 3;
    m_thread = std::thread([this, third, delayMs] {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        Clock::time_point mappedSince {};
        bool cut = false;
        while (!m_stop) {
            const auto now = Clock::now();
            if (isMapped(m_path)) {
                if (mappedSince == Clock::time_point {})
                    mappedSince = now;
                m_sawMapping = true;
            } else {
                mappedSince = {};
            }
            const bool heldMapping
                = mappedSince != Clock::time_point {} && now - mappedSince >= std::chrono::milliseconds(3);
            if (!cut && (heldMapping || now - start >= std::chrono::milliseconds(delayMs))) {
                cut = true;
                if (::truncate(QFile::encodeName(m_path).constData(), third) != 0)
                    std::perror("cut");
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    });
}

FileCut::~FileCut()
{
    m_stop = true;
    m_thread.join();
}

} // namespace vantrel::test
