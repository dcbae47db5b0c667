#pragma once

#include <optional>
#include <QMainWindow>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class NameListBox;
namespace store {
struct Statement;
}

// The main window: the name list with its filters, the search panel, the details of the
// selected name and the menu.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Builds the connection string for `appFolder` and fills the list with all names.
    // Throws store::Error when db.mdb cannot be read.
    void load(const QString& appFolder);

    // The id of the selected entry of the name list, if one is selected.
    std::optional<qint32> selectedNameId() const;

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
    void fillNameList(const store::Statement& statement);
    void setFilterIndex(int index);
    void showCount();
    // Empties the details panel: name, meaning, gender word and picture.
    void clearDetails();

    QString m_appFolder;
    // The id of the row the details panel shows, if any.
    std::optional<qint32> m_shownId;

    QLineEdit* txtName;
    NameListBox* LstNames;
    QLabel* Label1;
    QGroupBox* Frame1;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QLineEdit* txtSearch;
    QPushButton* Command1;
    QGroupBox* Frame2;
    QComboBox* Combo1;
    QLabel* Label3;
    QLabel* LBLNameCount;
    QLabel* Picture1;
    QLabel* namestr;
    QLabel* namelbl;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* sexlbl;
    QPlainTextEdit* meanlbl;

    QMenu* mnfile;
    QMenu* mnTools;
    QAction* mnAddName;
    QAction* mnEditanme;
    QAction* mnDelete;
    QAction* about;
    QAction* mnExit;
};
