// The main window's commands that change names: add, edit and delete.
#include "app/errorreport.h"
#include "app/frmmain.h"
#include "app/messagebox.h"
#include "app/namelist.h"
#include "editing/deletename.h"
#include "editing/frmaddname.h"
#include "editing/frmeditname.h"
#include "editing/messages.h"

namespace {

editing::Feedback feedback()
{
    return {[](QWidget* parent, const QString& text) { MessageBox::information(parent, text); },
            [](QWidget* parent, const store::Error& error) {
                ErrorReport::show(parent, error);
            }};
}

} // namespace

void frmMain::addCommand()
{
    {
        frmAddName window(this, *m_store, feedback());
        window.exec();
    }
    // However the window was closed: all names, the search box emptied, the count shown.
    ErrorReport::guarded(this, [this] { setFilterIndex(2); });
}

void frmMain::editCommand()
{
    if (nameList->currentRow() < 0 || nameList->textAt(nameList->currentRow()).isEmpty()) {
        MessageBox::information(this, editing::messages::selectName());
        return;
    }
    const int row = nameList->currentRow();
    frmEditName window(this, *m_store, feedback(), [this] { return selectedName(); });
    if (!window.load() || window.exec() != QDialog::Accepted)
        return;

    // The entry shows the new name where it stood, still selected, and holds the name as it
    // is now stored.
    const store::NameRecord& saved = *window.saved();
    if (row < nameList->count() && nameList->idAt(row) == saved.id)
        nameList->model()->rename(row, saved.storedName);
    if (m_shown && m_shown->id == saved.id)
        showDetails();
}

void frmMain::deleteCommand()
{
    if (MessageBox::question(this, editing::messages::confirmDelete()) != MessageBox::Yes)
        return;
    const std::optional<store::ListedName> selected = selectedName();
    if (!selected || nameList->textAt(nameList->currentRow()).isEmpty()) {
        MessageBox::information(this, editing::messages::selectName());
        return;
    }
    const int row = nameList->currentRow();
    ErrorReport::guarded(this, [&] {
        switch (editing::deleteName(*m_store, *selected, m_shown)) {
        case editing::DeleteResult::Changed:
            // Nothing was removed: the entry stays and shows the row as it is now, unless the
            // row has gone in the meantime too.
            MessageBox::information(this, editing::messages::nameChangedNotDeleted());
            if (showChangedRow(row))
                return;
            break;
        case editing::DeleteResult::Gone:
            MessageBox::information(this, editing::messages::nameIsGone());
            break;
        case editing::DeleteResult::Deleted:
            break;
        }
        nameList->model()->remove(row);
        nameList->setCurrentRow(-1);
        showCount();
        if (m_shown && m_shown->id == selected->id)
            clearDetails();
    });
}

bool frmMain::showChangedRow(int row)
{
    const std::optional<store::NameRecord> now =
        m_store->find(nameList->idAt(row), nameList->storedNameAt(row));
    if (!now)
        return false;
    nameList->setCurrentRow(row);
    showRecord(*now);
    return true;
}
