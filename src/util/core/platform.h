#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Everything that differs between this Linux/Qt build and the Windows services the program
// was designed around lives here: folders, the developer-environment probe, the version
// text, file identity for cache checks and the termination signals.
namespace brevnote::platform {

// The executable's name without folder ("brevnote").
QString programName();

// The folder "beside the program", with a trailing "/": BREVNOTE_HOME when set; otherwise the
// executable's folder when it is writable (a portable install); otherwise the per-user
// application data folder. Created when missing.
QString programFolder();

// programFolder() + programName(): the name the program's own files are derived from.
QString programFilePath();

// Folder of the closing dumps, without a trailing "/": BREVNOTE_DATA_DIR when set, otherwise
// the user's data folder + "/velmora/brevnote". Not created here.
QString dataFolder();

// The program's private temporary folder with a trailing "/": a folder of this user inside
// the system's temporary folder (TMPDIR), created with mode 0700 and checked to be a real
// folder owned by this user, so predictable names in it cannot be taken over by another
// user's link. Falls back to the system's temporary folder itself only when no such folder
// can be had.
QString tempFolder();

// The "Windows folder": the user's configuration folder + "/velmora", created on demand,
// without a trailing "/".
QString configFolder();

// True when BREVNOTE_DEVELOPER is "1"; false when it is "0"; otherwise true when a process of
// a development environment (qtcreator, code, clion, kdevelop) runs for this user.
bool isDesignerRunning();

// The program's version as compiled in ("2026.12.8").
QString versionText();

// The library with the windows that show web pages, libbrevnote_web.so: BREVNOTE_WEB_MODULE
// when set (tests); else beside the executable (the build tree), when it is there; else in the
// program's own library folder of an installation, found from the executable's folder.
QString webModulePath();

// Files that starting the web engine reads besides the libraries it links: its helper
// program and its resource packs, where Qt's installation keeps them. Missing ones are left
// out.
QStringList webEngineFiles();

// The files of the shared libraries loaded in this process, the program's own included.
QStringList loadedLibraryFiles();

// Asks the system to read the parts of a file that are not in memory, without waiting.
void readSoon(const QString &path);

// True when Qt can start a platform plugin: a desktop for xcb or wayland, or a chosen plugin
// that needs none (offscreen).
bool hasDisplay();

// Size, modification time and inode of a file; equal stamps mean the file was not replaced
// or rewritten in between. A missing file gives the default stamp.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool operator==(const FileStamp &) const = default;
};
FileStamp fileStamp(const QString &path);

// Routes SIGTERM, SIGHUP and SIGINT to `handler`, called on the thread of the Qt event loop
// (through a self-pipe), never inside the signal handler itself. Call once, after the
// application object exists.
void onTerminationSignal(std::function<void(int signalNumber)> handler);

// Hands memory freed on every thread back to the system (the allocator keeps it otherwise,
// and a thread's pool stays resident while the program idles).
void releaseFreedMemory();

} // namespace brevnote::platform
