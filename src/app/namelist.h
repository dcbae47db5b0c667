#pragma once

#include "store/namelist.h"

#include <QAbstractListModel>
#include <QListView>

// The entries of the name list: each shows a name and carries its row's id. The entries are
// those of one fill of the list, as read; a fill replaces them all.
class NameListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const store::NameList& names() const { return m_names; }
    // Shows `names` in place of the entries of the last fill, whose list is kept for its
    // storage (the store empties it as it fills it again).
    void setNames(store::NameList names);
    // That list, to be filled again (see NameStore): refills of the name list alternate between
    // two lists and, once they have held the largest one, take no new memory.
    store::NameList takeSpareNames() { return std::move(m_spare); }
    // The entry at `row` now holds `storedName`, its row's name as stored after a change.
    void rename(int row, QByteArrayView storedName);
    void remove(int row);

private:
    store::NameList m_names;
    store::NameList m_spare;
};

// The list box of names: one selected entry at a time, entries in the order of the fill, and
// the list box's own events (click, double click, Enter, right-button release).
class NameListBox : public QListView
{
    Q_OBJECT
public:
    explicit NameListBox(QWidget* parent = nullptr);

    NameListModel* model() const { return m_model; }
    int count() const { return m_model->rowCount(); }
    // The selected entry's row, or -1.
    int currentRow() const;
    void setCurrentRow(int row);
    // The text of the entry at `row` and the id it carries.
    QString textAt(int row) const { return m_model->names().name(row); }
    store::NameId idAt(int row) const { return m_model->names().id(row); }
    QByteArrayView storedNameAt(int row) const { return m_model->names().storedName(row); }

    // Shows the entries of a new fill, from the first one, with nothing selected.
    void setNames(store::NameList names);
    store::NameList takeSpareNames() { return m_model->takeSpareNames(); }

Q_SIGNALS:
    // The user selected an entry with the mouse or the keyboard.
    void click();
    void doubleClick();
    // Enter was pressed in the list (also with nothing selected).
    void enterPressed();
    void rightButtonReleased(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    NameListModel* m_model;
};
