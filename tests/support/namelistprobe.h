#pragma once

// Reading and clicking the main window's name list as a user would. Header only: for tests
// that link the app library.
#include "app/namelist.h"

#include <QStringList>
#include <QTest>

namespace testsupport {

inline QStringList listedNames(const NameListBox* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->textAt(row);
    return texts;
}

// Clicks the entry at `row`, which selects it and shows its details.
inline void clickEntry(NameListBox* list, int row)
{
    const QRect rect = list->visualRect(list->model()->index(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace testsupport
