#pragma once

#include <QString>

namespace store {

// The one connection string of the program, built by the main window's load step.
QString buildConnectionString(const QString& appFolder);

// The file named by the connection string's "Data Source" entry.
QString dataSource(const QString& connectionString);

// The process-wide value every database operation uses.
const QString& connectionString();
void setConnectionString(const QString& value);

} // namespace store
