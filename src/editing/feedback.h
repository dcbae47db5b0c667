#pragma once

#include <functional>
#include <QString>

class QWidget;
namespace store {
class Error;
}

namespace editing {

// How the name windows talk to the user beyond their own controls. The program's message
// boxes and error report live above this layer, so the windows are handed them here.
struct Feedback
{
    // A message about the user's input: information icon, OK button, empty title.
    std::function<void(QWidget* parent, const QString& text)> inform;
    // A failed database operation; the window stays open afterwards.
    std::function<void(QWidget* parent, const store::Error& error)> report;
};

} // namespace editing
