// The main window's commands that change names: add, edit and delete.
#include "app/frmmain.h"

void frmMain::addCommand() {}

void frmMain::editCommand() {}

void frmMain::deleteCommand() {}
