#pragma once

#include <QString>
#include <QStringList>

// The command line that hands a release to the outside upload program.
namespace brevnote {

struct UploadSettings {
    QString program; // the upload program, as typed
    QString folder;  // folder on the server, passed untrimmed
    QStringList files;
    QString url;
    QString host;
    QString user;
    QString password;
};

// The parts, each after the first preceded by one space in the command line: the program
// unquoted; "folder=" and the folder; "filenames=" and the files in comma-separated form;
// "URL=" and the trimmed address (always present); then "Host=", "User=" and "PassWord="
// with the trimmed value, each only when that value is not blank.
QStringList UploadCommandParts(const UploadSettings &settings);
QString UploadCommandLine(const UploadSettings &settings);

// A program and its arguments, ready to be started without a shell.
struct ProgramStart {
    QString program;
    QStringList arguments;
};

// The command line split into its words the way a shell splits it (QProcess::splitCommand).
// When the typed program, trimmed, names an existing file it is taken whole, so a program in
// a folder whose name holds a space still starts; only the other parts are split then. A
// blank program gives an empty program name.
ProgramStart UploadProgramStart(const UploadSettings &settings);

} // namespace brevnote
