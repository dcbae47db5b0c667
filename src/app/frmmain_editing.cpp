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
        frmAddName window(this, feedback());
        window.exec();
    }
    // However the window was closed: all names, the search box emptied, the count shown.
    ErrorReport::guarded(this, [this] { setFilterIndex(2); });
}

void frmMain::editCommand()
{
    if (LstNames->currentText().isEmpty()) {
        MessageBox::information(this, editing::messages::selectName());
        return;
    }
    const int row = LstNames->listIndex();
    frmEditName window(this, feedback(), [this] { return selectedNameId(); });
    if (!window.load() || window.exec() != QDialog::Accepted)
        return;

    // The entry shows the new name where it stood, still selected.
    const std::optional<qint32> id = window.savedId();
    if (row < LstNames->listCount() && LstNames->itemData(row) == id)
        LstNames->names()->setText(row, window.savedName());
    if (m_shownId == id)
        showDetails();
}

void frmMain::deleteCommand()
{
    if (MessageBox::question(this, editing::messages::confirmDelete()) != MessageBox::Yes)
        return;
    if (LstNames->currentText().isEmpty()) {
        MessageBox::information(this, editing::messages::selectName());
        return;
    }
    const int row = LstNames->listIndex();
    const qint32 id = LstNames->itemData(row);
    ErrorReport::guarded(this, [&] {
        // A row already removed by another program leaves the list all the same.
        if (!editing::deleteName(id))
            MessageBox::information(this, editing::messages::nameIsGone());
        LstNames->names()->removeAt(row);
        LstNames->setListIndex(-1);
        showCount();
        if (m_shownId == id)
            clearDetails();
    });
}
