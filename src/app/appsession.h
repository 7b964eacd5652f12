#pragma once

// How the application object lives and ends: in the tray, ended only through the main
// window's closing path.
namespace brevnote {

// Titles the application "Brevnote" and keeps it running when its last visible window
// closes: a dialog closed while the pad is hidden in the tray must not end the program.
void configureApplication();

// Sends every ending that comes from outside to the main window (fMaster): the session
// end (the session manager's commit is always answered yes; the end itself comes as a quit
// request), SIGTERM, SIGHUP and SIGINT, and any quit of the event loop. Each writes the
// closing dump once, then the program ends. Call once, right after the application object
// exists and before the main window is built: a signal that arrives meanwhile waits until
// the event loop runs.
void installSessionEnd();

} // namespace brevnote
