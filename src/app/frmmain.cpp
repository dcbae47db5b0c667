#include "app/frmmain.h"

#include "app/errorreport.h"
#include "app/namelist.h"
#include "editing/meaningedit.h"
#include "input/focusswitch.h"
#include "input/module1.h"
#include "look/elided.h"
#include "look/look.h"
#include "store/connectionstring.h"
#include "store/userdata.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QtMath>

using look::control;
using look::label;
using look::twipsRect;

namespace {

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

// A frameless text box that shows whole lines only: the lines start at its top, and the room
// its height leaves below the last whole line stays empty. A line is as high as its font in
// whole pixels; the top pixel row of a line is left to the tallest marks above its letters, so
// the box may cover that row of its first line: 41 pixels show two lines of 21 that way.
class WholeLinesBox : public editing::MeaningEdit
{
public:
    using MeaningEdit::MeaningEdit;

    // Lays out the lines for the box's present height and font.
    void showWholeLines()
    {
        constexpr int side = 4; // between the text and the box's left and right edges
        setFrameShape(QFrame::NoFrame);
        document()->setDocumentMargin(0);
        const int lineHeight = qCeil(QFontMetricsF(font()).height());
        const int lines = std::max(1, (height() + 1) / lineHeight);
        const int top = std::min(0, height() - lines * lineHeight);
        // The text box counts a line as shown when a pixel row of its area is left below it:
        // that row may lie beyond the box.
        const int bottom = height() - top - lines * lineHeight - 1;
        setViewportMargins(side, top, side, bottom);
    }
    // Where the first line's text stands, from the top of the box.
    int firstLineTop() const { return viewportMargins().top(); }
};

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

frmMain::frmMain(QWidget* parent) : QMainWindow(parent, look::fixedWindow)
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

    nameFilter = control<QLineEdit>(client, "txtName", twipsRect(4800, 2460, 2895, 345), 8.25);
    nameFilter->setAlignment(look::rightAligned);
    setBackground(nameFilter, palette().color(QPalette::ToolTipBase));

    nameList = control<NameListBox>(client, "LstNames", twipsRect(4800, 2880, 2895, 2220), 9.75);
    // An entry wider than the list ends with «…» where it is cut and shows whole as a tooltip.
    nameList->setTextElideMode(Qt::ElideRight);
    nameList->setItemDelegate(new look::WholeTextTips(nameList));
    // The desktop's inactive-title-text colour has no counterpart in Qt's palette; the
    // inactive window colour reads the same way.
    setBackground(nameList, palette().color(QPalette::Inactive, QPalette::Midlight));

    listCaption = label(client, "Label1", QStringLiteral("ليست نامها:"),
                        twipsRect(6840, 2160, 855, 195), 8.25);
    look::makeRed(listCaption);
    look::autoSize(listCaption);

    searchFrame = control<QGroupBox>(client, "Frame1", twipsRect(120, 3480, 4575, 1605), 8.25);
    searchFrame->setTitle(QStringLiteral(" جستجو : "));
    searchInNames =
        control<QCheckBox>(searchFrame, "Check1", twipsRect(120, 1200, 1455, 285), 8.25);
    searchInNames->setText(QStringLiteral("جستجو در نامها"));
    searchInNames->setChecked(true);
    // As wide as the box above it: the caption in the Persian UI font needs a pixel more.
    searchInMeanings =
        control<QCheckBox>(searchFrame, "Check2", twipsRect(120, 840, 1455, 285), 8.25);
    searchInMeanings->setText(QStringLiteral("جستجو در معنا"));
    searchText = control<QLineEdit>(searchFrame, "txtSearch", twipsRect(150, 360, 4245, 375), 9);
    searchText->setAlignment(look::rightAligned);
    setBackground(searchText, QColor(255, 224, 192));
    searchButton =
        control<QPushButton>(searchFrame, "Command1", twipsRect(3450, 960, 915, 465), 8.25);
    searchButton->setText(QStringLiteral("جستجو"));
    searchButton->setAutoDefault(false);
    searchButton->setDefault(false);

    showFrame = control<QGroupBox>(client, "Frame2", twipsRect(120, 2400, 4605, 975), 8.25);
    showFrame->setTitle(QStringLiteral(" نمايش : "));
    look::makeRed(showFrame);
    genderFilter = control<QComboBox>(showFrame, "Combo1", twipsRect(2580, 390, 1815, 315), 8.25);
    genderFilter->addItems({QStringLiteral("اسامي مردانه"), QStringLiteral("اسامي زنانه"),
                            QStringLiteral("تمامي اسامي")});
    genderFilter->setCurrentIndex(-1);
    look::makeRightToLeft(genderFilter);
    countCaption = label(showFrame, "Label3", QStringLiteral("تعداد اسامي :"),
                         twipsRect(1110, 420, 1005, 195), 8.25);
    look::makeRed(countCaption);
    look::autoSize(countCaption);
    nameCount =
        label(showFrame, "LBLNameCount", QStringLiteral("#"), twipsRect(525, 450, 120, 195), 8.25);
    look::autoSize(nameCount);
    // The frame's red caption is not passed on to the count. The count fills its background
    // with the frame's face, as the style paints it where the count stands (see showCount).
    QPalette plain = nameCount->palette();
    plain.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    nameCount->setPalette(plain);
    QImage face(1, 1, QImage::Format_RGB32);
    showFrame->render(&face, {}, QRect(nameCount->geometry().center(), QSize(1, 1)),
                      QWidget::DrawWindowBackground);
    setBackground(nameCount, face.pixelColor(0, 0));
    nameCount->setAutoFillBackground(true);

    genderPicture = control<QLabel>(client, "Picture1", twipsRect(6120, 120, 1575, 1935), 8.25);
    // A picture shows at its own size from the top-left corner, cut off at the edges.
    genderPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute);

    // A name longer than its box ends with «…» where it is cut, and shows whole as a tooltip.
    shownName =
        control<look::ElidingLabel>(client, "namestr", twipsRect(2280, 240, 2775, 495), 11.25);
    shownName->setAlignment(look::rightAligned);
    nameCaption =
        label(client, "namelbl", QStringLiteral("نام "), twipsRect(5520, 240, 495, 735), 11.25);
    // The caption reaches into the gender row below; its text stands on the name's line.
    nameCaption->setContentsMargins(0, 0, 0, nameCaption->height() - shownName->height());
    genderCaption =
        label(client, "Label4", QStringLiteral("جنسيت"), twipsRect(5040, 840, 975, 495), 11.25);
    meaningCaption =
        label(client, "Label5", QStringLiteral("معني"), twipsRect(5040, 1440, 975, 495), 11.25);
    shownGender = label(client, "sexlbl", QString(), twipsRect(2280, 840, 2775, 495), 11.25);
    for (QLabel* caption : {shownName, nameCaption, genderCaption, meaningCaption, shownGender})
        caption->setLayoutDirection(Qt::LeftToRight);

    auto* meaningBox =
        control<WholeLinesBox>(client, "meanlbl", twipsRect(120, 1440, 4935, 615), 11.25);
    shownMeaning = meaningBox;
    shownMeaning->setPlainText(QStringLiteral("Text1"));
    // Several lines, wrapped at word boundaries and aligned to the right. The box shows whole
    // lines only, and a meaning with more lines than it holds shows a vertical scroll bar, at
    // the left where the lines end, so that the reader sees there is more.
    shownMeaning->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    shownMeaning->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    shownMeaning->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    shownMeaning->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextOption meaningOption = shownMeaning->document()->defaultTextOption();
    meaningOption.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    meaningOption.setTextDirection(Qt::RightToLeft);
    meaningOption.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    shownMeaning->document()->setDefaultTextOption(meaningOption);
    meaningBox->showWholeLines();
    setBackground(shownMeaning, palette().color(QPalette::Button));
    // The meaning's caption on the line of the meaning's first line.
    meaningCaption->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    meaningCaption->setContentsMargins(0, meaningBox->firstLineTop(), 0, 0);

    // Labels and frames never take the focus; the picture is no tab stop.
    for (QWidget* passive : std::initializer_list<QWidget*>{
             listCaption, searchFrame, showFrame, countCaption, nameCount, genderPicture, shownName,
             nameCaption, genderCaption, meaningCaption, shownGender})
        passive->setFocusPolicy(Qt::NoFocus);
    QWidget* tabOrder[] = {nameFilter, nameList,     searchInNames, searchInMeanings,
                           searchText, searchButton, genderFilter,  shownMeaning};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    nameFilter->setFocus();

    // What a screen reader announces for each control: the caption beside it. Check boxes
    // and buttons are announced by their own texts.
    look::nameAfter(nameFilter, listCaption->text());
    look::nameAfter(nameList, listCaption->text());
    look::nameAfter(searchText, searchFrame->title());
    look::nameAfter(genderFilter, showFrame->title());
    look::nameAfter(nameCount, countCaption->text());
    look::nameAfter(genderPicture, genderCaption->text());
    look::nameAfter(shownName, nameCaption->text());
    look::nameAfter(shownGender, genderCaption->text());
    look::nameAfter(shownMeaning, meaningCaption->text());

    for (QWidget* box : std::initializer_list<QWidget*>{nameFilter, searchText, shownMeaning})
        box->installEventFilter(this);
    input::switchToPersianOnFocus(nameFilter);
    input::switchToPersianOnFocus(searchText);

    connect(genderFilter, &QComboBox::activated, this, &frmMain::genderFilterClicked);
    connect(searchButton, &QPushButton::clicked, this, &frmMain::searchClicked);
    connect(nameFilter, &QLineEdit::textChanged, this, &frmMain::nameTextChanged);
    connect(nameList, &NameListBox::click, this, &frmMain::showDetails);
    connect(nameList, &NameListBox::doubleClick, this, &frmMain::showDetails);
    connect(nameList, &NameListBox::enterPressed, this, &frmMain::showDetails);
    connect(nameList, &NameListBox::rightButtonReleased, this,
            [this](const QPoint& at) { toolsMenu->exec(at); });
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

    fileMenu = menuBar()->addMenu(QStringLiteral("فايل"));
    fileMenu->setObjectName(QStringLiteral("mnfile"));
    toolsMenu = fileMenu->addMenu(QStringLiteral("امکانات"));
    toolsMenu->setObjectName(QStringLiteral("mnTools"));
    addNameAction = command(toolsMenu, "mnAddName", QStringLiteral("اضافه کردن نام جديد"),
                            QKeySequence(Qt::CTRL | Qt::Key_N), &frmMain::addCommand);
    editNameAction = command(toolsMenu, "mnEditanme", QStringLiteral("ويرايش نام فعلي"),
                             QKeySequence(Qt::CTRL | Qt::Key_E), &frmMain::editCommand);
    deleteNameAction = command(toolsMenu, "mnDelete", QStringLiteral("حذف اين نام از برنامه"),
                               QKeySequence(Qt::CTRL | Qt::Key_D), &frmMain::deleteCommand);
    aboutAction =
        command(fileMenu, "about", QStringLiteral("درباره ما"), {}, &frmMain::aboutCommand);
    exitAction = command(fileMenu, "mnExit", QStringLiteral("خروج از برنامه"),
                         QKeySequence(Qt::CTRL | Qt::Key_X), &frmMain::exitCommand);
}

void frmMain::load(const QString& appFolder)
{
    m_appFolder = appFolder;
    // db.mdb lies in the application folder, or in the user's own folder for a system-wide
    // install; the pictures stay beside the program.
    m_store = std::make_unique<store::NameStore>(
        store::dataSource(store::buildConnectionString(store::databaseFolder(appFolder))));
    nameList->setNames({});
    searchText->clear();
    setFilterIndex(2);
    shownMeaning->clear();

    const QRect screen = this->screen()->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(screen.center());
    move(frame.topLeft());
}

std::optional<store::ListedName> frmMain::selectedName() const
{
    const int row = nameList->currentRow();
    if (row < 0)
        return std::nullopt;
    return store::ListedName{nameList->idAt(row), nameList->storedNameAt(row).toByteArray()};
}

// Choosing an entry in code runs the filter as the user's choice would; choosing the entry
// already shown runs it too.
void frmMain::setFilterIndex(int index)
{
    genderFilter->setCurrentIndex(index);
    applyGenderFilter();
}

void frmMain::genderFilterClicked()
{
    ErrorReport::guarded(this, [this] { applyGenderFilter(); });
}

void frmMain::applyGenderFilter()
{
    searchText->clear();
    const int index = genderFilter->currentIndex();
    const store::GenderFilter filter = index == 0   ? store::GenderFilter::Male
                                       : index == 1 ? store::GenderFilter::Female
                                                    : store::GenderFilter::All;
    fillNameList(m_store->list(filter, nameList->takeSpareNames()));
}

void frmMain::searchClicked()
{
    ErrorReport::guarded(this, [this] {
        if (!searchInNames->isChecked() && !searchInMeanings->isChecked()) {
            searchInNames->setChecked(true);
            searchInMeanings->setChecked(true);
        }
        const store::SearchIn where = !searchInMeanings->isChecked() ? store::SearchIn::Names
                                      : !searchInNames->isChecked()
                                          ? store::SearchIn::Meanings
                                          : store::SearchIn::NamesAndMeanings;
        fillNameList(m_store->search(where, searchText->text(), nameList->takeSpareNames()));
    });
}

void frmMain::nameTextChanged()
{
    ErrorReport::guarded(this, [this] {
        fillNameList(m_store->namesBeginningWith(nameFilter->text(), nameList->takeSpareNames()));
    });
}

void frmMain::fillNameList(store::NameList names)
{
    nameList->setNames(std::move(names));
    showCount();
}

void frmMain::showCount()
{
    nameCount->setText(QString::number(nameList->count()));
    // The count keeps the width of the widest count so far, its text at its right edge on the
    // frame's face: a narrower count then repaints the count alone, not the frame around it.
    if (nameCount->sizeHint().width() > nameCount->width())
        look::autoSize(nameCount);
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
    showRecord(*row);
}

void frmMain::showRecord(const store::NameRecord& row)
{
    m_shown = row;
    shownName->setText(nameList->textAt(nameList->currentRow()));
    shownMeaning->setMeaning(row.meaning);
    switch (row.gender) {
    case store::Gender::Male:
        showGender(QStringLiteral("man.jpg"), QStringLiteral("مذکر"));
        break;
    case store::Gender::Female:
        showGender(QStringLiteral("Female.jpg"), QStringLiteral("مونث"));
        break;
    case store::Gender::Other:
        // No gender word or picture claims a gender the row does not have.
        shownGender->clear();
        genderPicture->clear();
        break;
    }
}

void frmMain::showGender(const QString& picture, const QString& word)
{
    // A missing or unreadable picture shows no picture.
    genderPicture->setPixmap(QPixmap(m_appFolder + QDir::separator() + picture));
    shownGender->setText(word);
}

void frmMain::clearDetails()
{
    m_shown.reset();
    shownName->clear();
    shownMeaning->clear();
    shownGender->clear();
    genderPicture->clear();
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
    // The name box shows its cursor again when a key is pressed; on the release it would only
    // repaint the same cursor once more, after each keystroke's refill of the list.
    if (watched == nameFilter && event->type() == QEvent::KeyRelease)
        return true;
    return QMainWindow::eventFilter(watched, event);
}
