#include "app/messagebox.h"

#include <QMessageBox>
#include <QQueue>

namespace {

QQueue<MessageBox::Answer> g_nextAnswers;
QStringList g_answered;

bool answeredByTest(const QString& text, MessageBox::Answer* answer)
{
    if (g_nextAnswers.isEmpty())
        return false;
    *answer = g_nextAnswers.dequeue();
    g_answered << text;
    return true;
}

MessageBox::Answer show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                        const QString& text, QMessageBox::StandardButtons buttons,
                        QMessageBox::StandardButton defaultButton)
{
    MessageBox::Answer answer = MessageBox::Ok;
    if (answeredByTest(text, &answer))
        return answer;
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    // Plain reading order, like the boxes of the platform without right-to-left flags; the
    // Persian text itself still reads from the right.
    box.setLayoutDirection(Qt::LeftToRight);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageBox::Yes;
    case QMessageBox::No:
        return MessageBox::No;
    default:
        return MessageBox::Ok;
    }
}

} // namespace

void MessageBox::information(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::Information, QString(), text, QMessageBox::Ok, QMessageBox::Ok);
}

MessageBox::Answer MessageBox::question(QWidget* parent, const QString& text)
{
    const Answer answer = show(parent, QMessageBox::Question, QString(), text,
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    // Closing the box any other way counts as No.
    return answer == Yes ? Yes : No;
}

void MessageBox::critical(QWidget* parent, const QString& title, const QString& text)
{
    show(parent, QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::setNextAnswer(Answer answer)
{
    g_nextAnswers.enqueue(answer);
}

QStringList MessageBox::takeAnswered()
{
    return std::exchange(g_answered, {});
}
