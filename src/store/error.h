#pragma once

#include <exception>
#include <QString>

namespace store {

// A failed database operation: the number and text shown by the error report.
class Error : public std::exception
{
public:
    Error(int number, QString description);

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

    // Our own numbers, for failures that do not come from SQLite itself.
    static constexpr int NoCurrentRow = 3021;
    static constexpr int FileNotFound = 53;

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace store
