#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QListView>

// The entries of the name list: each shows a name and carries its row's id.
class NameListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    struct Item
    {
        QString text;
        qint32 id = 0;
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void clear();
    void append(QList<Item> items);
    void removeAt(int row);
    void setText(int row, const QString& text);
    const Item& at(int row) const { return m_items.at(row); }

private:
    QList<Item> m_items;
};

// A list box over NameListModel: one selected entry at a time, entries in the order added,
// and the list box's own events (click, double click, Enter, right-button release).
class NameListBox : public QListView
{
    Q_OBJECT
public:
    explicit NameListBox(QWidget* parent = nullptr);

    NameListModel* names() const { return m_model; }
    int listCount() const { return m_model->rowCount(); }
    // The position of the selected entry, or -1.
    int listIndex() const;
    void setListIndex(int row);
    // The text of the selected entry; empty when nothing is selected.
    QString currentText() const;
    // The id carried by the entry at `row`.
    qint32 itemData(int row) const { return m_model->at(row).id; }

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
