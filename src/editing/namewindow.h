#pragma once

#include "editing/feedback.h"
#include "editing/meaningedit.h"
#include "store/namestore.h"

#include <optional>
#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace editing {

// What the add and edit windows share: a fixed 345 by 311 pixel right-to-left window with a
// gender box, a name box, a meaning box, their red captions and three buttons along the
// bottom, the first of them (from the right) the window's default button.
class NameWindow : public QDialog
{
    Q_OBJECT
public:
    // The gender box's entries: the first stands for male, the second for female.
    static std::optional<store::Gender> genderAt(int index);
    static int indexOf(store::Gender gender);

protected:
    // `top` moves every control down by that many twips. `writeName` and `writeCaption`
    // name the default button.
    NameWindow(QWidget* owner, const store::NameStore& names, Feedback feedback,
               const QString& caption, int top, const char* writeName, const QString& writeCaption);

    // Empties the meaning box, then the name box; gender and focus stay.
    void clearFields();
    // Switches the keyboard to Persian when `field` gains the focus.
    void switchToPersianOnFocus(QWidget* field);
    // Chains the controls in this order for Tab.
    static void chainTabs(std::initializer_list<QWidget*> order);

    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    const store::NameStore& m_names;
    Feedback m_feedback;
    QLineEdit* nameBox;
    MeaningEdit* meaningBox;
    QComboBox* genderBox;
    QLabel* nameCaption;
    QLabel* meaningCaption;
    QLabel* genderCaption;
    // The writing button: addButton or saveButton.
    QPushButton* writeButton;
    QPushButton* cancelButton;
    QPushButton* clearButton;
};

} // namespace editing
