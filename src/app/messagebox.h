#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every message box of the program goes through here: the look is fixed in one place, and
// tests can answer a box before it shows.
class MessageBox
{
public:
    enum Answer
    {
        Ok,
        Yes,
        No
    };

    // Information icon and an OK button, empty title.
    static void information(QWidget* parent, const QString& text);
    // Question icon, Yes and No with No as the default button, empty title.
    static Answer question(QWidget* parent, const QString& text);
    // The report of a failed operation.
    static void critical(QWidget* parent, const QString& title, const QString& text);

    // Tests: the next box is answered with `answer` instead of being shown.
    static void setNextAnswer(Answer answer);
    // Tests: the texts of the boxes answered through setNextAnswer, oldest first; clears them.
    static QStringList takeAnswered();
};
