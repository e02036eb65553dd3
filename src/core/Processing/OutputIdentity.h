#pragma once

#include <QString>
#include <QStringList>

namespace vantrel {

/// Which file a path names, as the file system decides it rather than as the text spells it: a
/// run compares the paths its writes read and write by this, so that two spellings of one file
/// (a folder reached through a symbolic link, a bind mount or "..", a name in another letter case
/// on a volume that ignores case) wait for each other exactly as two equal texts do.
///
/// A path's keys are its entry keys (for every folder on the way that exists, that folder's device
/// and inode, which the kernel reaches through every link and mount, plus the rest of the path below
/// it) and, when the entry is a symbolic link, the entry keys of the file it leads to. Two identities
/// overlap when they share a key. The comparison errs on one side only: two spellings of one file
/// always overlap, also when one was taken before its folder was made and the other after, while two
/// different files may overlap (names that differ only in case or Unicode form), which costs a wait
/// and never a file.
class OutputIdentity {
public:
    OutputIdentity() = default;
    /// Examines the file system now (one stat call a folder on the way; no file is opened).
    static OutputIdentity of(const QString& path);

    const QStringList& keys() const { return m_keys; }
    bool overlaps(const OutputIdentity& other) const;

    /// The form under which a name is compared: folded so that every name a case-insensitive
    /// volume takes for this one compares equal to it.
    static QString foldedName(const QString& name);

private:
    QStringList m_keys;
};

} // namespace vantrel
