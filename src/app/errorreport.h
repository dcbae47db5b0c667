#pragma once

class QString;
class QWidget;
namespace store {
class Error;
}

// The one report of failed operations: a box that says in Persian what went wrong, with
// SQLite's own words below.
namespace ErrorReport {

QString text(const store::Error& error);
void show(QWidget* parent, const store::Error& error);

// Runs `handler`; a store::Error it throws is reported and the program goes on.
template <typename Handler> void guarded(QWidget* parent, Handler&& handler);

} // namespace ErrorReport

#include "store/error.h"

template <typename Handler> void ErrorReport::guarded(QWidget* parent, Handler&& handler)
{
    try {
        handler();
    } catch (const store::Error& error) {
        show(parent, error);
    }
}
