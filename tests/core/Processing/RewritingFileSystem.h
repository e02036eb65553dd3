#pragma once

#include <QFile>
#include <QString>

#include "core/Processing/OutputFileSystem.h"

namespace vantrel {

/// The real file system, with another program rewriting one source in place at a chosen step of
/// a write: its bytes cut to nothing, then `replacement` written (same inode, new size and time).
/// At Temporary the rewrite comes once the output's temporary exists: the loader is open on the
/// source (a streamed conversion) or the pixels are decoded and the metadata not yet read. At
/// Copy the source is cut before its bytes are copied and rewritten after, as a rewrite caught
/// half-way leaves it.
class RewritingFileSystem : public OutputFileSystem {
public:
    enum class At { Never, Temporary, Copy };

    RewritingFileSystem(At at, QString source, QByteArray replacement)
        : m_at(at)
        , m_source(std::move(source))
        , m_replacement(std::move(replacement))
    {
    }

    int createTemporary(const QString& folder, QString* path) override
    {
        const int error = OutputFileSystem::createTemporary(folder, path);
        if (m_at == At::Temporary)
            rewrite();
        return error;
    }
    int copyContents(const QString& source, const QString& target) override
    {
        const bool rewritten = m_at == At::Copy && source == m_source;
        if (rewritten)
            cut();
        const int error = OutputFileSystem::copyContents(source, target);
        if (rewritten)
            write();
        return error;
    }

    void rewrite() const
    {
        cut();
        write();
    }

private:
    void cut() const { QFile(m_source).resize(0); }
    void write() const
    {
        QFile file(m_source);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(m_replacement);
    }

    At m_at;
    QString m_source;
    QByteArray m_replacement;
};

} // namespace vantrel
