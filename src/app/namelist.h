#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QListView>
#include <string>
#include <vector>

// The entries of the name list: each shows a name and carries its row's id.
class NameListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    // Rows to append: the names one after another in `utf8`, each entry its length and id.
    struct Rows
    {
        std::string utf8;
        std::vector<std::pair<int, qint32>> lengthsAndIds;

        void append(const char* name, int length, qint32 id)
        {
            utf8.append(name, static_cast<size_t>(length));
            lengthsAndIds.emplace_back(length, id);
        }
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void clear();
    // Empty rows with room for as many names as the largest fill so far.
    Rows newRows() const;
    void append(Rows rows);
    void removeAt(int row);
    void setText(int row, const QString& text);
    QString text(int row) const;
    qint32 id(int row) const { return m_items.at(row).id; }

private:
    // The names stay in UTF-8 as read, and become text only when shown: a list of 32,767
    // names costs one buffer instead of as many strings.
    struct Item
    {
        qsizetype offset;
        int length;
        qint32 id;
    };
    std::string m_utf8;
    QList<Item> m_items;
    qsizetype m_largestBytes = 0;
    qsizetype m_largestCount = 0;
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
    qint32 itemData(int row) const { return m_model->id(row); }

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
