#pragma once

#include <QString>

namespace store {

// The file that marks the application folder of a system-wide install (the Debian package
// installs it). That folder belongs to the package and is rewritten by every upgrade, so each
// user keeps their own db.mdb in their data folder instead.
inline constexpr char systemWideMarker[] = "per-user-db";

// The folder whose db.mdb the program in `appFolder` uses: `appFolder` itself, or, when it
// holds the marker, $XDG_DATA_HOME/vardel (by default ~/.local/share/vardel). There, on first
// start, the starter db.mdb beside the program is copied: to a temporary file that only a
// complete copy replaces, so no half-written db.mdb is ever left behind. Throws store::Error
// when there is no starter file or the copy cannot be made.
QString databaseFolder(const QString& appFolder);

} // namespace store
