#pragma once

#include "editing/namewindow.h"

// The add-name window: each press of its default button stores one new name and leaves the
// window open and emptied for the next; Cancel or Esc closes it.
class frmAddName : public editing::NameWindow
{
    Q_OBJECT
public:
    // `owner` is the main window, over which the window opens centred.
    frmAddName(QWidget* owner, const store::NameStore& names, editing::Feedback feedback);

private:
    void add();

    QPushButton* addButton;
};
