#include "editing/frmeditname.h"

#include "editing/messages.h"
#include "input/module1.h"
#include "store/error.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

frmEditName::frmEditName(QWidget* owner, const store::NameStore& names, editing::Feedback feedback,
                         SelectedName selectedName)
    : NameWindow(owner, names, std::move(feedback), QStringLiteral("ويرايش اسامي - Edit Name's"),
                 30, "cmdSave", QStringLiteral("ذخيره تغييرات")),
      m_selectedName(std::move(selectedName))
{
    setObjectName(QStringLiteral("frmEditName"));
    saveButton = writeButton;
    chainTabs({nameBox, meaningBox, genderBox, clearButton, cancelButton, saveButton});

    switchToPersianOnFocus(nameBox);
    connect(meaningBox, &QPlainTextEdit::textChanged, this, &frmEditName::meaningChanged);
    connect(saveButton, &QPushButton::clicked, this, &frmEditName::save);
}

void frmEditName::meaningChanged()
{
    const QString text = meaningBox->toPlainText();
    if (text == m_meaning)
        return;
    m_meaning = text;
    Module1::SwitchToPersianLayout();
}

bool frmEditName::load()
{
    const std::optional<store::ListedName> selected = m_selectedName();
    if (!selected) {
        m_feedback.inform(parentWidget(), editing::messages::selectName());
        return false;
    }
    try {
        m_loaded = m_names.find(selected->id, selected->storedName);
    } catch (const store::Error& error) {
        m_feedback.report(parentWidget(), error);
        return false;
    }
    if (!m_loaded) {
        m_feedback.inform(parentWidget(), editing::messages::nameIsGone());
        return false;
    }
    nameBox->setText(m_loaded->name);
    meaningBox->setMeaning(m_loaded->meaning);
    genderBox->setCurrentIndex(indexOf(m_loaded->gender));
    // The boxes may show a text differently from how it is stored (line breaks, characters
    // that are not UTF-8): what they show now stands for "unchanged".
    m_loadedName = nameBox->text();
    m_loadedMeaning = meaningBox->meaning();
    m_loadedGender = genderBox->currentIndex();
    return true;
}

store::NameChange frmEditName::changes() const
{
    store::NameChange change;
    if (nameBox->text() != m_loadedName)
        change.name = nameBox->text();
    if (const QString meaning = meaningBox->meaning(); meaning != m_loadedMeaning)
        change.meaning = meaning;
    if (genderBox->currentIndex() != m_loadedGender)
        change.gender = genderAt(genderBox->currentIndex());
    return change;
}

void frmEditName::save()
{
    if (nameBox->text().isEmpty()) {
        m_feedback.inform(this, editing::messages::fillTheField());
        return;
    }
    if (!m_selectedName() || !m_loaded) {
        m_feedback.inform(this, editing::messages::selectName());
        return;
    }
    try {
        m_saved = m_names.update(*m_loaded, changes());
    } catch (const store::Error& error) {
        // Nothing was written, and the window stays open with what was typed.
        if (error.kind() == store::Error::Kind::RowChanged)
            m_feedback.inform(this, editing::messages::nameChangedNotSaved());
        else if (error.kind() == store::Error::Kind::RowGone)
            m_feedback.inform(this, editing::messages::nameIsGone());
        else
            m_feedback.report(this, error);
        return;
    }
    accept();
}
