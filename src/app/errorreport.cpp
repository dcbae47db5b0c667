#include "app/errorreport.h"

#include "app/messagebox.h"
#include "store/error.h"

void ErrorReport::show(QWidget* parent, const store::Error& error)
{
    MessageBox::critical(parent, QStringLiteral("Vardel"),
                         QStringLiteral("خطای شماره‌ی %1:\n\n%2")
                             .arg(error.number())
                             .arg(error.description()));
}
