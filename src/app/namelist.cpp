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
    if (role == Qt::DisplayRole)
        return text(index.row());
    if (role == Qt::UserRole)
        return id(index.row());
    return {};
}

QString NameListModel::text(int row) const
{
    const Item& item = m_items.at(row);
    return QString::fromUtf8(m_utf8.data() + item.offset, item.length);
}

void NameListModel::clear()
{
    if (m_items.isEmpty())
        return;
    beginResetModel();
    m_items.clear();
    m_utf8.clear();
    endResetModel();
}

NameListModel::Rows NameListModel::newRows() const
{
    Rows rows;
    rows.utf8.reserve(static_cast<size_t>(m_largestBytes));
    rows.lengthsAndIds.reserve(static_cast<size_t>(m_largestCount));
    return rows;
}

void NameListModel::append(Rows rows)
{
    if (rows.lengthsAndIds.empty())
        return;
    const bool wasEmpty = m_items.isEmpty();
    const int first = static_cast<int>(m_items.size());
    if (wasEmpty)
        beginResetModel();
    else
        beginInsertRows({}, first, first + static_cast<int>(rows.lengthsAndIds.size()) - 1);
    auto offset = static_cast<qsizetype>(m_utf8.size());
    if (wasEmpty)
        m_utf8 = std::move(rows.utf8);
    else
        m_utf8.append(rows.utf8);
    m_items.reserve(m_items.size() + static_cast<qsizetype>(rows.lengthsAndIds.size()));
    for (const auto& [length, id] : std::as_const(rows.lengthsAndIds)) {
        m_items.append({offset, length, id});
        offset += length;
    }
    m_largestBytes = std::max(m_largestBytes, static_cast<qsizetype>(m_utf8.size()));
    m_largestCount = std::max(m_largestCount, m_items.size());
    if (wasEmpty)
        endResetModel();
    else
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
    const QByteArray utf8 = text.toUtf8();
    m_items[row].offset = static_cast<qsizetype>(m_utf8.size());
    m_items[row].length = static_cast<int>(utf8.size());
    m_utf8.append(utf8.constData(), static_cast<size_t>(utf8.size()));
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
    return row < 0 ? QString() : m_model->text(row);
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
