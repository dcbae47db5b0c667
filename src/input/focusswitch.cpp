#include "input/focusswitch.h"

#include "input/module1.h"

#include <QEvent>
#include <QObject>

namespace input {

namespace {

class PersianOnFocus : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            Module1::SwitchToPersianLayout();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void switchToPersianOnFocus(QObject* field)
{
    field->installEventFilter(new PersianOnFocus(field));
}

} // namespace input
