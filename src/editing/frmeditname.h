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
    // The entry selected in the main list, if any. Read when loading and again when saving.
    using SelectedName = std::function<std::optional<store::ListedName>()>;

    frmEditName(QWidget* owner, const store::NameStore& names, editing::Feedback feedback,
                SelectedName selectedName);

    // Reads the selected row into the fields. False, after telling the user why, when there
    // is nothing to edit: no selection, the row is gone, or the database failed.
    bool load();

    // After a successful save: the row as it is now stored.
    const std::optional<store::NameRecord>& saved() const { return m_saved; }

private:
    void save();
    void meaningChanged();
    // What the user changed since the row was loaded.
    store::NameChange changes() const;

    SelectedName m_selectedName;
    // The row as loaded, and the fields as they showed it: only fields that differ from
    // these are written, so an untouched field stays exactly as stored.
    std::optional<store::NameRecord> m_loaded;
    QString m_loadedName;
    QString m_loadedMeaning;
    int m_loadedGender = -1;
    std::optional<store::NameRecord> m_saved;
    // The meaning box's text as last seen, to tell real changes from notifications that
    // leave the text as it was.
    QString m_meaning;
    QPushButton* saveButton;
};
