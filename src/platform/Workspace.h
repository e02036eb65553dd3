#pragma once

#include <functional>

#include <QString>
#include <QStringList>

namespace vantrel {

/// The desktop's file manager and default applications: show a file selected in its folder,
/// show a file's properties window, open a file with its default application.
///
/// Showing goes through the org.freedesktop.FileManager1 interface on the session bus
/// (ShowItems, ShowItemProperties); when no file manager answers, the file's folder is opened
/// instead. Both routes are injectable so tests see the calls without a desktop.
class Workspace {
public:
    /// Calls a FileManager1 method with file URIs; false when the call fails or no one answers.
    using FileManagerCall = std::function<bool(const QString& method, const QStringList& uris)>;
    /// Opens a URL with the desktop's default handler; false on failure.
    using UrlOpener = std::function<bool(const QString& url)>;

    Workspace();
    Workspace(FileManagerCall fileManager, UrlOpener opener);

    /// The shared instance (main thread).
    static Workspace& shared();
    /// Replaces the shared instance's routes (tests); empty functions restore the real ones.
    static void setShared(FileManagerCall fileManager, UrlOpener opener);

    /// Selects the file in a file-manager window (falls back to opening its folder).
    bool selectFile(const QString& path) const;
    /// Opens the file manager's properties window of the file (falls back to opening its folder).
    bool showInfo(const QString& path) const;
    /// Opens the file with its default application.
    bool openFile(const QString& path) const;

    static bool callFileManagerOnSessionBus(const QString& method, const QStringList& uris);
    static bool openWithDesktopServices(const QString& url);

private:
    bool showThroughFileManager(const QString& method, const QString& path) const;

    FileManagerCall m_fileManager;
    UrlOpener m_opener;
};

} // namespace vantrel
