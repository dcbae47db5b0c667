#pragma once

#include "store/namestore.h"

#include <memory>
#include <optional>
#include <QMainWindow>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class NameListBox;
namespace editing {
class MeaningEdit;
}

// The main window: the name list with its filters, the search panel, the details of the
// selected name and the menu.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Builds the connection string for `appFolder` (for a system-wide install, for the user's
    // own copy of its db.mdb), opens db.mdb and fills the list with all names. Throws
    // store::Error when db.mdb cannot be read or the user's copy cannot be made.
    void load(const QString& appFolder);

    // The selected entry of the name list, if one is selected.
    std::optional<store::ListedName> selectedName() const;

    // Handlers, also reached from menus and keys.
    void genderFilterClicked();
    void searchClicked();
    void nameTextChanged();
    void showDetails();
    void exitCommand();
    void addCommand();
    void editCommand();
    void deleteCommand();
    void aboutCommand();

protected:
    void closeEvent(QCloseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    // Refills the list with the gender filter's choice; throws store::Error.
    void applyGenderFilter();
    // Shows a new fill of the list and its count. A fill that fails throws store::Error and
    // leaves the list as it was.
    void fillNameList(store::NameList names);
    void setFilterIndex(int index);
    void showCount();
    // Empties the details panel: name, meaning, gender word and picture.
    void clearDetails();
    // Shows `row`, read for the selected entry, in the details panel.
    void showRecord(const store::NameRecord& row);
    void showGender(const QString& picture, const QString& word);
    // After a delete that found the entry's row changed by another program: the entry and the
    // details panel show the row as it is now. False when the row has gone meanwhile.
    bool showChangedRow(int row);

    QString m_appFolder;
    std::unique_ptr<store::NameStore> m_store;
    // The row the details panel shows, as it read it, if any.
    std::optional<store::NameRecord> m_shown;

    QLineEdit* nameFilter;
    NameListBox* nameList;
    QLabel* listCaption;
    QGroupBox* searchFrame;
    QCheckBox* searchInNames;
    QCheckBox* searchInMeanings;
    QLineEdit* searchText;
    QPushButton* searchButton;
    QGroupBox* showFrame;
    QComboBox* genderFilter;
    QLabel* countCaption;
    QLabel* nameCount;
    QLabel* genderPicture;
    QLabel* shownName;
    QLabel* nameCaption;
    QLabel* genderCaption;
    QLabel* meaningCaption;
    QLabel* shownGender;
    editing::MeaningEdit* shownMeaning;

    QMenu* fileMenu;
    QMenu* toolsMenu;
    QAction* addNameAction;
    QAction* editNameAction;
    QAction* deleteNameAction;
    QAction* aboutAction;
    QAction* exitAction;
};
