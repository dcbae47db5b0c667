#pragma once

// For tests that drive the main window's commands and the modal windows they open: a keyboard
// that counts switches, the OnModal runner that answers a modal window from inside its own
// event loop, and the controls of the name windows.

#include "app/frmmain.h"
#include "app/messagebox.h"
#include "app/namelist.h"
#include "app/startup.h"
#include "editing/meaningedit.h"
#include "input/keyboardplatform.h"
#include "mainwindowfixture.h"
#include "testsupport.h"

#include <functional>
#include <memory>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// A keyboard that always reports US English: every switch to Persian sends one hot key, so
// hotKeys counts the calls of Module1::SwitchToPersianLayout.
struct CountingKeyboard : KeyboardPlatform
{
    CountingKeyboard() { setKeyboardPlatform(this); }
    ~CountingKeyboard() override { setKeyboardPlatform(nullptr); }
    bool readLayoutName(char* buffer, int size) override
    {
        qstrncpy(buffer, "00000409", size);
        return true;
    }
    void sendHotKey() override { ++hotKeys; }
    void yield() override {}
    int hotKeys = 0;
};

// Runs `script` on the modal window or popup menu that a command opens, inside that
// window's own event loop, as the user in front of it would. A failing script closes the
// window so that the command returns.
class OnModal
{
public:
    explicit OnModal(std::function<void(QWidget*)> script, bool armed = true)
        : m_script(std::move(script))
    {
        m_timer.setSingleShot(true);
        m_timer.callOnTimeout([this] { run(); });
        if (armed)
            arm();
    }
    void arm() { m_timer.start(0); }
    bool ran() const { return m_ran; }

private:
    void run()
    {
        QWidget* window = QApplication::activePopupWidget();
        if (!window)
            window = QApplication::activeModalWidget();
        if (!window)
            return arm(); // not open yet
        m_ran = true;
        // A window manager would activate the new window; the test platform does not.
        if (!QApplication::activePopupWidget()) {
            window->activateWindow();
            if (!QTest::qWaitFor([window] { return window->isActiveWindow(); }))
                QTest::qFail("the window did not become active", __FILE__, __LINE__);
        }
        if (!QTest::currentTestFailed())
            m_script(window);
        if (QTest::currentTestFailed() && window->isVisible())
            window->close();
    }

    std::function<void(QWidget*)> m_script;
    QTimer m_timer;
    bool m_ran = false;
};

template <typename T = QWidget> T* control(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}
inline QLineEdit* nameBox(QWidget* w)
{
    return control<QLineEdit>(w, "txtName");
}
inline QPlainTextEdit* meaningBox(QWidget* w)
{
    return control<QPlainTextEdit>(w, "txtMean");
}
// The meaning box's text as the window writes it.
inline QString meaningText(QWidget* w)
{
    return control<editing::MeaningEdit>(w, "txtMean")->meaning();
}
inline QComboBox* genderBox(QWidget* w)
{
    return control<QComboBox>(w, "Combo1");
}
inline QStringList answered()
{
    return MessageBox::takeAnswered();
}

// The objectNames the focus visits as Tab is pressed `count` times.
inline QStringList tabWalk(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << QApplication::focusWidget()->objectName();
    }
    return names;
}

// What both name windows share: a fixed, modal, right-to-left window centred over the main
// window, with the name box's text at its right edge.
inline void checkWindow(QWidget* window, const QString& caption)
{
    const QWidget* owner = window->parentWidget();
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(window->minimumSize(), QSize(345, 311));
    QCOMPARE(window->maximumSize(), QSize(345, 311));
    QCOMPARE(window->layoutDirection(), Qt::RightToLeft);
    QVERIFY(
        (window->frameGeometry().center() - owner->frameGeometry().center()).manhattanLength() <=
        2);
    QCOMPARE(QApplication::focusWidget(), nameBox(window));
    const QString kept = nameBox(window)->text();
    nameBox(window)->clear();
    testsupport::typeText(nameBox(window), u"ab"_s);
    const QRect cursor = nameBox(window)->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    nameBox(window)->setText(kept);
    QVERIFY(cursor.center().x() > nameBox(window)->width() / 2);
}
