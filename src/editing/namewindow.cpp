#include "editing/namewindow.h"

#include "input/focusswitch.h"
#include "look/look.h"

#include <limits>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>

namespace editing {

namespace {

constexpr qreal fontSize = 8.25;

QLabel* caption(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    QLabel* label = look::label(parent, name, text, geometry, fontSize);
    look::makeRed(label);
    look::autoSize(label);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* widget = look::control<QPushButton>(parent, name, geometry, fontSize);
    widget->setText(text);
    // A button with the focus takes Enter for itself; otherwise Enter goes to the default.
    widget->setAutoDefault(true);
    return widget;
}

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

std::optional<store::Gender> NameWindow::genderAt(int index)
{
    switch (index) {
    case 0:
        return store::Gender::Male;
    case 1:
        return store::Gender::Female;
    default:
        return std::nullopt;
    }
}

int NameWindow::indexOf(store::Gender gender)
{
    switch (gender) {
    case store::Gender::Male:
        return 0;
    case store::Gender::Female:
        return 1;
    default:
        return -1;
    }
}

NameWindow::NameWindow(QWidget* owner, const store::NameStore& names, Feedback feedback,
                       const QString& windowCaption, int top, const char* writeName,
                       const QString& writeCaption)
    : QDialog(owner, look::fixedDialog), m_names(names), m_feedback(std::move(feedback))
{
    using look::twipsRect;

    setWindowTitle(windowCaption);
    setWindowIcon(look::windowIcon());
    // Modal, and with the main window as its parent it opens centred over that window.
    setWindowModality(Qt::ApplicationModal);
    setLayoutDirection(Qt::RightToLeft);
    setFont(look::tahoma(fontSize));
    setFixedSize(look::twips(5175), look::twips(4665));

    nameBox =
        look::control<QLineEdit>(this, "txtName", twipsRect(630, 780 + top, 3195, 345), fontSize);
    nameBox->setAlignment(look::rightAligned);
    // No name is cut to the box's default limit of 32,767 characters.
    nameBox->setMaxLength(std::numeric_limits<int>::max());

    meaningBox = look::control<MeaningEdit>(this, "txtMean", twipsRect(60, 1410 + top, 3765, 2295),
                                            fontSize);
    meaningBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meaningBox->setTabChangesFocus(true);
    QTextOption option = meaningBox->document()->defaultTextOption();
    option.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    meaningBox->document()->setDefaultTextOption(option);
    meaningBox->installEventFilter(this);

    nameCaption =
        caption(this, "Label1", QStringLiteral("نام :"), twipsRect(3900, 810 + top, 300, 195));
    meaningCaption = caption(this, "Label2", QStringLiteral("معني و توضيحات :"),
                             twipsRect(3870, 1380 + top, 1275, 195));
    // The longest caption would reach to two pixels from the window's edge.
    look::keepOffEdges(meaningCaption);
    look::autoSize(meaningCaption);

    writeButton = button(this, writeName, writeCaption, twipsRect(3510, 3900 + top, 1305, 555));
    writeButton->setDefault(true);
    cancelButton =
        button(this, "cmdCancel", QStringLiteral("انصراف"), twipsRect(1920, 3900 + top, 1365, 555));
    clearButton =
        button(this, "cmdClear", QStringLiteral("پاک کردن"), twipsRect(360, 3900 + top, 1365, 555));

    genderBox =
        look::control<QComboBox>(this, "Combo1", twipsRect(2250, 180 + top, 1575, 315), fontSize);
    genderBox->addItems({QStringLiteral("مرد"), QStringLiteral("زن")});
    genderBox->setCurrentIndex(-1);
    look::makeRightToLeft(genderBox);

    genderCaption =
        caption(this, "Label3", QStringLiteral("جنسيت :"), twipsRect(3900, 240 + top, 660, 195));

    // What a screen reader announces: the caption beside each box.
    look::nameAfter(nameBox, nameCaption->text());
    look::nameAfter(meaningBox, meaningCaption->text());
    look::nameAfter(genderBox, genderCaption->text());

    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(clearButton, &QPushButton::clicked, this, &NameWindow::clearFields);

    nameBox->setFocus();
}

void NameWindow::clearFields()
{
    meaningBox->clear();
    nameBox->clear();
}

void NameWindow::switchToPersianOnFocus(QWidget* field)
{
    input::switchToPersianOnFocus(field);
    // Installed last, this window sees the field's events first (see eventFilter).
    field->installEventFilter(this);
}

void NameWindow::chainTabs(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

void NameWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc is the cancel button's key, whichever control has the focus.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool NameWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Showing the window, QDialog hands its focus widget a focus-in of its own while the
    // window is not active yet; the real one follows when the window becomes active. Only
    // that one reaches the field, so the keyboard is switched once, not twice (a second
    // switch could come before the first took effect and switch back).
    if (event->type() == QEvent::FocusIn && !isActiveWindow() &&
        (watched == nameBox || watched == meaningBox))
        return true;
    // The meaning box would take Enter for a new line: there Enter presses the default
    // button like everywhere else, and Ctrl+Enter types the line break.
    if (watched == meaningBox && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key)) {
            if (key->modifiers() & Qt::ControlModifier)
                meaningBox->insertPlainText(QStringLiteral("\n"));
            else
                writeButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace editing
