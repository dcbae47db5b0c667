#include "editing/frmaddname.h"

#include "editing/messages.h"
#include "store/error.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

frmAddName::frmAddName(QWidget* owner, const store::NameStore& names, editing::Feedback feedback)
    : NameWindow(owner, names, std::move(feedback),
                 QStringLiteral("افزودن نام جديد - Add New Name"), 0, "cmdAdd",
                 QStringLiteral("افزودن به ليست"))
{
    setObjectName(QStringLiteral("frmAddName"));
    addButton = writeButton;
    chainTabs({nameBox, meaningBox, addButton, cancelButton, clearButton, genderBox});

    switchToPersianOnFocus(nameBox);
    switchToPersianOnFocus(meaningBox);
    connect(addButton, &QPushButton::clicked, this, &frmAddName::add);

    // Every opening starts with the first gender entry.
    genderBox->setCurrentIndex(0);
}

void frmAddName::add()
{
    if (nameBox->text().isEmpty()) {
        m_feedback.inform(this, editing::messages::enterNameAndMeaning());
        return;
    }
    try {
        m_names.add(nameBox->text(), meaningBox->meaning(), genderAt(genderBox->currentIndex()));
    } catch (const store::Error& error) {
        // One statement stores the whole row or nothing; what was typed stays for a retry.
        m_feedback.report(this, error);
        return;
    }
    // Let pending window events (painting, for one) run before the fields are emptied. Input
    // waits, so a second Enter cannot store the same text again.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    clearFields();
    nameBox->setFocus();
}
