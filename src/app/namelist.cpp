#include "app/namelist.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_names.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_names.name(index.row());
    if (role == Qt::UserRole)
        return m_names.id(index.row());
    return {};
}

void NameListModel::setNames(store::NameList names)
{
    beginResetModel();
    std::swap(m_names, names);
    endResetModel();
    m_spare = std::move(names);
}

void NameListModel::rename(int row, QByteArrayView storedName)
{
    m_names.rename(row, storedName);
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void NameListModel::remove(int row)
{
    beginRemoveRows({}, row, row);
    m_names.remove(row);
    endRemoveRows();
}

NameListBox::NameListBox(QWidget* parent) : QListView(parent), m_model(new NameListModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QAbstractItemView::clicked, this, &NameListBox::click);
    connect(this, &QAbstractItemView::doubleClicked, this, &NameListBox::doubleClick);
}

int NameListBox::currentRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void NameListBox::setCurrentRow(int row)
{
    if (row < 0 || row >= count()) {
        clearSelection();
        setCurrentIndex({});
        return;
    }
    setCurrentIndex(m_model->index(row));
}

void NameListBox::setNames(store::NameList names)
{
    m_model->setNames(std::move(names));
    // Laid out now, so that the list and its count are painted together.
    executeDelayedItemsLayout();
    // A new list opens at its first entry.
    verticalScrollBar()->setValue(0);
}

void NameListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT enterPressed();
        QListView::keyPressEvent(event);
        return;
    }
    const int before = currentRow();
    QListView::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        Q_EMIT click();
}

void NameListBox::mousePressEvent(QMouseEvent* event)
{
    // The right button opens the popup menu and leaves the selection alone.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void NameListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        Q_EMIT rightButtonReleased(event->globalPosition().toPoint());
        return;
    }
    QListView::mouseReleaseEvent(event);
}
