#pragma once

class QObject;

namespace input {

// Switches the keyboard to Persian whenever `field` receives the focus.
void switchToPersianOnFocus(QObject* field);

} // namespace input
