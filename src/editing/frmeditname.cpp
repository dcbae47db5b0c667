#include "editing/frmeditname.h"

#include "editing/messages.h"
#include "input/module1.h"
#include "store/connectionstring.h"
#include "store/error.h"
#include "store/recordset.h"
#include "store/statements.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

frmEditName::frmEditName(QWidget* owner, editing::Feedback feedback, SelectedId selectedId)
    : NameWindow(owner, std::move(feedback), QStringLiteral("ويرايش اسامي - Edit Name's"), 30,
                 "cmdSave", QStringLiteral("ذخيره تغييرات")),
      m_selectedId(std::move(selectedId))
{
    setObjectName(QStringLiteral("frmEditName"));
    cmdSave = m_write;
    chainTabs({txtName, txtMean, Combo1, cmdClear, cmdCancel, cmdSave});

    switchToPersianOnFocus(txtName);
    connect(txtMean, &QPlainTextEdit::textChanged, this, &frmEditName::meaningChanged);
    connect(cmdSave, &QPushButton::clicked, this, &frmEditName::save);
}

QString frmEditName::savedName() const
{
    return txtName->text();
}

void frmEditName::meaningChanged()
{
    const QString text = txtMean->toPlainText();
    if (text == m_meaning)
        return;
    m_meaning = text;
    Module1::SwitchToPersianLayout();
}

bool frmEditName::load()
{
    const std::optional<qint32> id = m_selectedId();
    if (!id) {
        m_feedback.inform(parentWidget(), editing::messages::selectName());
        return false;
    }
    try {
        store::Connection connection(store::connectionString());
        store::Recordset row(connection, store::rowByIdStatement(*id), store::OpenMode::Read);
        if (row.eof()) {
            m_feedback.inform(parentWidget(), editing::messages::nameIsGone());
            return false;
        }
        // A null name or meaning reads as empty text.
        txtName->setText(row.value(QStringLiteral("p_name")).toString());
        txtMean->setPlainText(row.value(QStringLiteral("means")).toString());
        const QString gender = row.value(QStringLiteral("gender")).toString();
        if (gender == genderCode(0))
            Combo1->setCurrentIndex(0);
        if (gender == genderCode(1))
            Combo1->setCurrentIndex(1);
    } catch (const store::Error& error) {
        m_feedback.report(parentWidget(), error);
        return false;
    }
    return true;
}

void frmEditName::save()
{
    if (txtName->text().isEmpty()) {
        m_feedback.inform(this, editing::messages::fillTheField());
        return;
    }
    const std::optional<qint32> id = m_selectedId();
    if (!id) {
        m_feedback.inform(this, editing::messages::selectName());
        return;
    }
    try {
        store::Connection connection(store::connectionString());
        store::Recordset row(connection, store::rowByIdStatement(*id), store::OpenMode::Write);
        if (row.eof()) {
            m_feedback.inform(this, editing::messages::nameIsGone());
            return;
        }
        writeFields(row);
        row.update();
    } catch (const store::Error& error) {
        // Also a row that went away between reading and writing: nothing was written, and
        // the window stays open with what was typed.
        m_feedback.report(this, error);
        return;
    }
    m_savedId = id;
    accept();
}
