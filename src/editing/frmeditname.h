#pragma once

#include "editing/namewindow.h"

#include <functional>
#include <optional>

// The edit-name window: shows the row of the main list's selected entry and writes the
// changes back into the same row.
class frmEditName : public editing::NameWindow
{
    Q_OBJECT
public:
    // The id of the entry selected in the main list, if any. Read when loading and again
    // when saving.
    using SelectedId = std::function<std::optional<qint32>()>;

    frmEditName(QWidget* owner, editing::Feedback feedback, SelectedId selectedId);

    // Reads the selected row into the fields. False, after telling the user why, when there
    // is nothing to edit: no selection, the row is gone, or the database failed.
    bool load();

    // After a successful save: the row written and the name it now has.
    std::optional<qint32> savedId() const { return m_savedId; }
    QString savedName() const;

private:
    void save();
    void meaningChanged();

    SelectedId m_selectedId;
    std::optional<qint32> m_savedId;
    // The meaning box's text as last seen, to tell real changes from notifications that
    // leave the text as it was.
    QString m_meaning;
    QPushButton* cmdSave;
};
