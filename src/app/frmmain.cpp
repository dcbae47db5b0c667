#include "app/frmmain.h"

#include "app/errorreport.h"
#include "app/namelist.h"
#include "input/focusswitch.h"
#include "input/module1.h"
#include "look/look.h"
#include "store/connectionstring.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

using look::twipsRect;

namespace {

template <typename Widget>
Widget* control(QWidget* parent, const char* name, QRect geometry, qreal pointSize)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    widget->setFont(look::tahoma(pointSize));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry,
              qreal pointSize)
{
    auto* widget = control<QLabel>(parent, name, geometry, pointSize);
    widget->setText(caption);
    widget->setAlignment(look::rightAligned);
    return widget;
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

// The main window's shortcuts win over a text box's own use of the same keys (Ctrl+X cuts
// nowhere in this window: it ends the program).
bool isWindowShortcut(const QKeyEvent* event)
{
    if (event->modifiers() != Qt::ControlModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_N:
    case Qt::Key_E:
    case Qt::Key_D:
    case Qt::Key_X:
        return true;
    default:
        return false;
    }
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vardel"));
    setWindowIcon(look::windowIcon());
    setLayoutDirection(Qt::RightToLeft);
    setFont(look::tahoma(9)); // stands in for "B Bardiya"; every control sets its own
    buildControls();
    buildMenu();
    adjustSize();
    setFixedSize(sizeHint());
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(look::twips(7830), look::twips(5250));
    setCentralWidget(client);

    txtName = control<QLineEdit>(client, "txtName", twipsRect(4800, 2460, 2895, 345), 8.25);
    txtName->setAlignment(look::rightAligned);
    setBackground(txtName, palette().color(QPalette::ToolTipBase));

    LstNames = control<NameListBox>(client, "LstNames", twipsRect(4800, 2880, 2895, 2220), 9.75);
    // The desktop's inactive-title-text colour has no counterpart in Qt's palette; the
    // inactive window colour reads the same way.
    setBackground(LstNames, palette().color(QPalette::Inactive, QPalette::Midlight));

    Label1 = label(client, "Label1", QStringLiteral("ليست نامها:"), twipsRect(6840, 2160, 855, 195),
                   8.25);
    look::makeRed(Label1);
    look::autoSize(Label1);

    Frame1 = control<QGroupBox>(client, "Frame1", twipsRect(120, 3480, 4575, 1605), 8.25);
    Frame1->setTitle(QStringLiteral(" جستجو : "));
    Check1 = control<QCheckBox>(Frame1, "Check1", twipsRect(120, 1200, 1455, 285), 8.25);
    Check1->setText(QStringLiteral("جستجو در نامها"));
    Check1->setChecked(true);
    Check2 = control<QCheckBox>(Frame1, "Check2", twipsRect(120, 840, 1365, 285), 8.25);
    Check2->setText(QStringLiteral("جستجو در معنا"));
    txtSearch = control<QLineEdit>(Frame1, "txtSearch", twipsRect(150, 360, 4245, 375), 9);
    txtSearch->setAlignment(look::rightAligned);
    setBackground(txtSearch, QColor(255, 224, 192));
    Command1 = control<QPushButton>(Frame1, "Command1", twipsRect(3450, 960, 915, 465), 8.25);
    Command1->setText(QStringLiteral("جستجو"));
    Command1->setAutoDefault(false);
    Command1->setDefault(false);

    Frame2 = control<QGroupBox>(client, "Frame2", twipsRect(120, 2400, 4605, 975), 8.25);
    Frame2->setTitle(QStringLiteral(" نمايش : "));
    look::makeRed(Frame2);
    Combo1 = control<QComboBox>(Frame2, "Combo1", twipsRect(2580, 390, 1815, 315), 8.25);
    Combo1->addItems({QStringLiteral("اسامي مردانه"), QStringLiteral("اسامي زنانه"),
                      QStringLiteral("تمامي اسامي")});
    Combo1->setCurrentIndex(-1);
    Label3 = label(Frame2, "Label3", QStringLiteral("تعداد اسامي :"),
                   twipsRect(1110, 420, 1005, 195), 8.25);
    look::makeRed(Label3);
    look::autoSize(Label3);
    LBLNameCount =
        label(Frame2, "LBLNameCount", QStringLiteral("#"), twipsRect(525, 450, 120, 195), 8.25);
    look::autoSize(LBLNameCount);
    // The frame's red caption is not passed on to the count.
    QPalette plain = LBLNameCount->palette();
    plain.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    LBLNameCount->setPalette(plain);

    Picture1 = control<QLabel>(client, "Picture1", twipsRect(6120, 120, 1575, 1935), 8.25);
    // A picture shows at its own size from the top-left corner, cut off at the edges.
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute);

    namestr = label(client, "namestr", QString(), twipsRect(2280, 240, 2775, 495), 11.25);
    namelbl =
        label(client, "namelbl", QStringLiteral("نام "), twipsRect(5520, 240, 495, 735), 11.25);
    namelbl->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    Label4 =
        label(client, "Label4", QStringLiteral("جنسيت"), twipsRect(5040, 840, 975, 495), 11.25);
    Label5 =
        label(client, "Label5", QStringLiteral("معني"), twipsRect(5040, 1440, 975, 495), 11.25);
    sexlbl = label(client, "sexlbl", QString(), twipsRect(2280, 840, 2775, 495), 11.25);
    for (QLabel* caption : {namestr, namelbl, Label4, Label5, sexlbl})
        caption->setLayoutDirection(Qt::LeftToRight);

    meanlbl = control<QPlainTextEdit>(client, "meanlbl", twipsRect(120, 1440, 4935, 615), 11.25);
    meanlbl->setPlainText(QStringLiteral("Text1"));
    meanlbl->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    meanlbl->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    meanlbl->setFrameShape(QFrame::NoFrame);
    setBackground(meanlbl, palette().color(QPalette::Button));

    // Labels and frames never take the focus; the picture is no tab stop.
    for (QWidget* passive :
         std::initializer_list<QWidget*>{Label1, Frame1, Frame2, Label3, LBLNameCount, Picture1,
                                         namestr, namelbl, Label4, Label5, sexlbl})
        passive->setFocusPolicy(Qt::NoFocus);
    QWidget* tabOrder[] = {txtName, LstNames, Check1, Check2, txtSearch, Command1, Combo1, meanlbl};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    txtName->setFocus();

    for (QWidget* box : std::initializer_list<QWidget*>{txtName, txtSearch, meanlbl})
        box->installEventFilter(this);
    input::switchToPersianOnFocus(txtName);
    input::switchToPersianOnFocus(txtSearch);

    connect(Combo1, &QComboBox::activated, this, &frmMain::genderFilterClicked);
    connect(Command1, &QPushButton::clicked, this, &frmMain::searchClicked);
    connect(txtName, &QLineEdit::textChanged, this, &frmMain::nameTextChanged);
    connect(LstNames, &NameListBox::click, this, &frmMain::showDetails);
    connect(LstNames, &NameListBox::doubleClick, this, &frmMain::showDetails);
    connect(LstNames, &NameListBox::enterPressed, this, &frmMain::showDetails);
    connect(LstNames, &NameListBox::rightButtonReleased, this,
            [this](const QPoint& at) { mnTools->exec(at); });
}

void frmMain::buildMenu()
{
    auto command = [this](QMenu* menu, const char* name, const QString& caption,
                          const QKeySequence& shortcut, void (frmMain::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        // Reachable from every control of the window, although the item sits in a submenu.
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    mnfile = menuBar()->addMenu(QStringLiteral("فايل"));
    mnfile->setObjectName(QStringLiteral("mnfile"));
    mnTools = mnfile->addMenu(QStringLiteral("امکانات"));
    mnTools->setObjectName(QStringLiteral("mnTools"));
    mnAddName = command(mnTools, "mnAddName", QStringLiteral("اضافه کردن نام جديد"),
                        QKeySequence(Qt::CTRL | Qt::Key_N), &frmMain::addCommand);
    mnEditanme = command(mnTools, "mnEditanme", QStringLiteral("ويرايش نام فعلي"),
                         QKeySequence(Qt::CTRL | Qt::Key_E), &frmMain::editCommand);
    mnDelete = command(mnTools, "mnDelete", QStringLiteral("حذف اين نام از برنامه"),
                       QKeySequence(Qt::CTRL | Qt::Key_D), &frmMain::deleteCommand);
    about = command(mnfile, "about", QStringLiteral("درباره ما"), {}, &frmMain::aboutCommand);
    mnExit = command(mnfile, "mnExit", QStringLiteral("خروج از برنامه"),
                     QKeySequence(Qt::CTRL | Qt::Key_X), &frmMain::exitCommand);
}

void frmMain::load(const QString& appFolder)
{
    m_appFolder = appFolder;
    m_store = std::make_unique<store::NameStore>(
        store::dataSource(store::buildConnectionString(appFolder)));
    LstNames->setNames({});
    txtSearch->clear();
    setFilterIndex(2);
    meanlbl->clear();

    const QRect screen = this->screen()->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(screen.center());
    move(frame.topLeft());
}

std::optional<store::ListedName> frmMain::selectedName() const
{
    const int row = LstNames->currentRow();
    if (row < 0)
        return std::nullopt;
    return store::ListedName{LstNames->idAt(row), LstNames->storedNameAt(row).toByteArray()};
}

// Choosing an entry in code runs the filter as the user's choice would; choosing the entry
// already shown runs it too.
void frmMain::setFilterIndex(int index)
{
    Combo1->setCurrentIndex(index);
    applyGenderFilter();
}

void frmMain::genderFilterClicked()
{
    ErrorReport::guarded(this, [this] { applyGenderFilter(); });
}

void frmMain::applyGenderFilter()
{
    txtSearch->clear();
    switch (Combo1->currentIndex()) {
    case 0:
        fillNameList(m_store->list(store::GenderFilter::Male));
        break;
    case 1:
        fillNameList(m_store->list(store::GenderFilter::Female));
        break;
    default:
        fillNameList(m_store->list(store::GenderFilter::All));
    }
}

void frmMain::searchClicked()
{
    ErrorReport::guarded(this, [this] {
        if (!Check1->isChecked() && !Check2->isChecked()) {
            Check1->setChecked(true);
            Check2->setChecked(true);
        }
        const store::SearchIn where = !Check2->isChecked()   ? store::SearchIn::Names
                                      : !Check1->isChecked() ? store::SearchIn::Meanings
                                                             : store::SearchIn::NamesAndMeanings;
        fillNameList(m_store->search(where, txtSearch->text()));
    });
}

void frmMain::nameTextChanged()
{
    ErrorReport::guarded(this,
                         [this] { fillNameList(m_store->namesBeginningWith(txtName->text())); });
}

void frmMain::fillNameList(store::NameList names)
{
    LstNames->setNames(std::move(names));
    showCount();
}

void frmMain::showCount()
{
    LBLNameCount->setText(QString::number(LstNames->count()));
    look::autoSize(LBLNameCount);
}

void frmMain::showDetails()
{
    const std::optional<store::ListedName> selected = selectedName();
    if (!selected)
        return; // nothing selected: nothing to show
    std::optional<store::NameRecord> row;
    try {
        row = m_store->find(selected->id, selected->storedName);
    } catch (const store::Error& error) {
        // Never the new name beside the previous row's meaning and gender.
        clearDetails();
        ErrorReport::show(this, error);
        return;
    }
    if (!row) {
        // Removed or changed by another program since the list was filled.
        clearDetails();
        return;
    }
    m_shownId = row->id;
    namestr->setText(LstNames->textAt(LstNames->currentRow()));
    meanlbl->setPlainText(row->meaning);
    switch (row->gender) {
    case store::Gender::Male:
        showGender(QStringLiteral("man.jpg"), QStringLiteral("مذکر"));
        break;
    case store::Gender::Female:
        showGender(QStringLiteral("Female.jpg"), QStringLiteral("مونث"));
        break;
    case store::Gender::Other:
        // No gender word or picture claims a gender the row does not have.
        sexlbl->clear();
        Picture1->clear();
        break;
    }
}

void frmMain::showGender(const QString& picture, const QString& word)
{
    // A missing or unreadable picture shows no picture.
    Picture1->setPixmap(QPixmap(m_appFolder + QDir::separator() + picture));
    sexlbl->setText(word);
}

void frmMain::clearDetails()
{
    m_shownId.reset();
    namestr->clear();
    meanlbl->clear();
    sexlbl->clear();
    Picture1->clear();
}

void frmMain::exitCommand()
{
    close();
    QCoreApplication::exit(0);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Module1::SwitchToEnglishLayout();
    event->accept();
}

void frmMain::focusOutEvent(QFocusEvent* event)
{
    // Only when the window itself, not one of its controls, held the focus.
    Module1::SwitchToEnglishLayout();
    QMainWindow::focusOutEvent(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride &&
        isWindowShortcut(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
