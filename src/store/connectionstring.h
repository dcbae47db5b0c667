#pragma once

#include <QString>

namespace store {

// The program's connection string, built by the main window's load step from the
// application folder.
QString buildConnectionString(const QString& appFolder);

// The file named by the connection string's "Data Source" entry.
QString dataSource(const QString& connectionString);

} // namespace store
