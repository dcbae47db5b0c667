#pragma once

// The program's main window over a temporary application folder, with its controls at hand,
// for the tests of every layer that drive the main window as a user would. Header only: for
// tests that link the app library.
#include "app/frmmain.h"
#include "app/messagebox.h"
#include "app/namelist.h"
#include "testsupport.h"

#include <memory>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace testsupport {

inline QStringList listedNames(const NameListBox* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->textAt(row);
    return texts;
}

// Clicks the entry at `row`, which selects it and shows its details.
inline void clickEntry(NameListBox* list, int row)
{
    const QRect rect = list->visualRect(list->model()->index(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace testsupport

struct MainWindowFixture
{
    // Loaded only, or also shown and made the active window (as start-up leaves it).
    enum Showing
    {
        Loaded,
        Active
    };

    explicit MainWindowFixture(const QList<dbfile::Entry>& entries, Showing showing = Loaded)
        : folder(entries), window(std::make_unique<frmMain>())
    {
        window->load(folder.path());
        if (showing == Active) {
            window->show();
            window->activateWindow();
            if (!QTest::qWaitForWindowActive(window.get()))
                qFatal("the main window did not become active");
            MessageBox::takeAnswered();
        }
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
    // Clicks the entry at `row` (or the first that shows `text`), which shows its details.
    void select(int row) const { testsupport::clickEntry(list(), row); }
    void select(const QString& text) const { select(static_cast<int>(listed().indexOf(text))); }
    void chooseFilter(int index) const
    {
        // As the user does: the combo box's own activation signal.
        auto* combo = find<QComboBox>("Combo1");
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }
    // A key pressed where the main window's focus is.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) const
    {
        if (!window->isActiveWindow()) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
        }
        QTest::keyClick(window->focusWidget(), key, modifiers);
    }
    // The table as another program sees it: id, p_name, means, gender.
    QList<QVariantList> table(const QString& where = {}) const
    {
        return folder.query(QStringLiteral("SELECT id, p_name, means, gender FROM vardel ") +
                            where + QStringLiteral(" ORDER BY id"));
    }

    testsupport::AppFolder folder;
    std::unique_ptr<frmMain> window;
};
