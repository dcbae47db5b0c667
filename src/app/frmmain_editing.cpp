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

    // The entry shows the new name where it stood, still selected.
    const std::optional<store::NameId> id = window.savedId();
    if (row < nameList->count() && nameList->idAt(row) == id)
        nameList->model()->rename(row, window.savedName());
    if (m_shownId == id)
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
        // A row that another program removed or changed is left alone, and leaves the list
        // all the same.
        if (!editing::deleteName(*m_store, *selected))
            MessageBox::information(this, editing::messages::nameIsGone());
        nameList->model()->remove(row);
        nameList->setCurrentRow(-1);
        showCount();
        if (m_shownId == selected->id)
            clearDetails();
    });
}
