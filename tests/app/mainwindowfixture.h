#pragma once

#include "app/frmmain.h"
#include "app/namelist.h"
#include "namelistprobe.h"
#include "testsupport.h"

#include <memory>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// A main window loaded from a temporary application folder, with its controls at hand.
struct MainWindowFixture
{
    explicit MainWindowFixture(const QList<dbfile::Entry>& entries)
        : folder(entries), window(std::make_unique<frmMain>())
    {
        window->load(folder.path());
    }

    template <typename T = QWidget> T* find(const char* name) const
    {
        T* child = window->findChild<T*>(QLatin1String(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }

    NameListBox* list() const { return find<NameListBox>("LstNames"); }
    QStringList listed() const { return testsupport::listedNames(list()); }
    QString count() const { return find<QLabel>("LBLNameCount")->text(); }
    void select(int row) const { testsupport::clickEntry(list(), row); }
    void chooseFilter(int index) const
    {
        // As the user does: the combo box's own activation signal.
        auto* combo = find<QComboBox>("Combo1");
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

    testsupport::AppFolder folder;
    std::unique_ptr<frmMain> window;
};
