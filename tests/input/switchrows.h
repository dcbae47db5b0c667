#pragma once

#include <optional>
#include <QByteArray>
#include <QTest>

// A layout name as the keyboard reports it; empty when the read fails.
using Layout = std::optional<QByteArray>;
Q_DECLARE_METATYPE(Layout)

// The rows of a switching test: a layout, and how many hot keys SwitchToPersianLayout and
// SwitchToEnglishLayout send from it. Only US English goes to Persian and only Persian to
// English; the layout name is read as a hexadecimal number that ends at its first letter.
inline void addSwitchRows()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<int>("toPersian");
    QTest::addColumn<int>("toEnglish");

    QTest::newRow("US English") << Layout("00000409") << 1 << 0;
    QTest::newRow("Persian") << Layout("00000429") << 0 << 1;
    QTest::newRow("French") << Layout("0000040C") << 0 << 0;
    QTest::newRow("US Dvorak") << Layout("00010409") << 0 << 0;
    QTest::newRow("Persian standard") << Layout("00050429") << 0 << 0;
    QTest::newRow("US English as an IME") << Layout("E0010409") << 0 << 0;
    QTest::newRow("unknown layout") << Layout("FFFFFFFF") << 0 << 0;
    QTest::newRow("409 without leading zeros") << Layout("409") << 1 << 0;
    QTest::newRow("hex letter after 409") << Layout("00409ABC") << 1 << 0;
    QTest::newRow("hex letter after 429") << Layout("0000429A") << 0 << 1;
    QTest::newRow("digit after 429") << Layout("00004290") << 0 << 0;
    QTest::newRow("read fails") << Layout() << 0 << 0;
}
