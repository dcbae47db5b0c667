#include "app/namelist.h"

#include <QKeyEvent>
#include <QMouseEvent>

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const Item& item = m_items.at(index.row());
    if (role == Qt::DisplayRole)
        return item.text;
    if (role == Qt::UserRole)
        return item.id;
    return {};
}

void NameListModel::clear()
{
    if (m_items.isEmpty())
        return;
    beginResetModel();
    m_items.clear();
    endResetModel();
}

void NameListModel::append(QList<Item> items)
{
    if (items.isEmpty())
        return;
    if (m_items.isEmpty()) {
        beginResetModel();
        m_items = std::move(items);
        endResetModel();
        return;
    }
    const int first = static_cast<int>(m_items.size());
    beginInsertRows({}, first, first + static_cast<int>(items.size()) - 1);
    m_items.append(std::move(items));
    endInsertRows();
}

void NameListModel::removeAt(int row)
{
    beginRemoveRows({}, row, row);
    m_items.removeAt(row);
    endRemoveRows();
}

void NameListModel::setText(int row, const QString& text)
{
    m_items[row].text = text;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
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

int NameListBox::listIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void NameListBox::setListIndex(int row)
{
    if (row < 0 || row >= listCount()) {
        clearSelection();
        setCurrentIndex({});
        return;
    }
    setCurrentIndex(m_model->index(row));
}

QString NameListBox::currentText() const
{
    const int row = listIndex();
    return row < 0 ? QString() : m_model->at(row).text;
}

void NameListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT enterPressed();
        QListView::keyPressEvent(event);
        return;
    }
    const int before = listIndex();
    QListView::keyPressEvent(event);
    if (listIndex() != before && listIndex() >= 0)
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
