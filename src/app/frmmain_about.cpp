// The main window's about command.
#include "app/frmmain.h"

void frmMain::aboutCommand() {}
