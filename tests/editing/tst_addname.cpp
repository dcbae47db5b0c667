// The add-name window and the add command, driven through the main window as a user would.
#include "editingfixture.h"

namespace {

const QString emptyNameMessage = QStringLiteral("لطفاً نام و معني را وارو نماييد");

QList<dbfile::Entry> starterNames()
{
    return {{u"دارا"_s, u"دارنده"_s, u"m"_s}, {u"آناهيتا"_s, u"پاک"_s, u"f"_s}};
}

// Types a name and meaning and presses Enter in the name box.
void add(QWidget* window, const QString& name, const QString& meaning = {})
{
    testsupport::typeText(meaningBox(window), meaning);
    testsupport::typeText(nameBox(window), name);
    QTest::keyClick(nameBox(window), Qt::Key_Return);
}

} // namespace

class AddNameTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The window as it opens: look, first gender entry, tab order, and the keyboard turned
    // to Persian once each time the name or meaning box gains the focus.
    void opening()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        CountingKeyboard keyboard;
        OnModal script([&](QWidget* window) {
            checkWindow(window, u"افزودن نام جديد - Add New Name"_s);
            QCOMPARE(genderBox(window)->currentIndex(), 0);
            QCOMPARE(keyboard.hotKeys, 1);
            QCOMPARE(tabWalk(6), QStringList({u"txtMean"_s, u"cmdAdd"_s, u"cmdCancel"_s,
                                              u"cmdClear"_s, u"Combo1"_s, u"txtName"_s}));
            QCOMPARE(keyboard.hotKeys, 3);
            QTest::keyClick(nameBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_N);
        QVERIFY(script.ran());
    }

    // Each add stores one row exactly as typed, empties both boxes, keeps the gender and
    // the focus in the name box; an empty name is refused with its message.
    void addsRowsAsTyped()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        CountingKeyboard keyboard;
        OnModal script([&](QWidget* window) {
            QTest::keyClick(genderBox(window), Qt::Key_Down);
            nameBox(window)->setFocus();
            MessageBox::setNextAnswer(MessageBox::Ok);
            add(window, {}, u"بي نام"_s);
            QCOMPARE(answered(), QStringList({emptyNameMessage}));
            QCOMPARE(meaningBox(window)->toPlainText(), u"بي نام"_s);
            QCOMPARE(f.table().size(), 2);
            meaningBox(window)->clear();

            add(window, u"O'Brien's"_s, u"it's 'x' -- ;"_s);
            QCOMPARE(nameBox(window)->text(), QString());
            QCOMPARE(meaningBox(window)->toPlainText(), QString());
            QCOMPARE(genderBox(window)->currentIndex(), 1);
            add(window, u"   "_s);
            add(window, u"دارا"_s, u"دارنده"_s);

            // Enter in the meaning box adds; Ctrl+Enter there types a line break.
            testsupport::typeText(nameBox(window), u"سيمين"_s);
            QTest::keyClick(genderBox(window), Qt::Key_Up);
            QTest::keyClick(nameBox(window), Qt::Key_Tab);
            const int hotKeys = keyboard.hotKeys;
            testsupport::typeText(meaningBox(window), u"نقره"_s);
            QTest::keyClick(meaningBox(window), Qt::Key_Return, Qt::ControlModifier);
            testsupport::typeText(meaningBox(window), u"گون"_s);
            QTest::keyClick(meaningBox(window), Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(QApplication::focusWidget(), nameBox(window));
            QCOMPARE(keyboard.hotKeys, hotKeys + 1); // back in the name box
            QTest::keyClick(nameBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_N);
        QVERIFY(script.ran());

        const auto rows = f.table(u"WHERE id > 2"_s);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].mid(1), QVariantList({u"O'Brien's"_s, u"it's 'x' -- ;"_s, u"f"_s}));
        QCOMPARE(rows[1].mid(1), QVariantList({u"   "_s, u""_s, u"f"_s}));
        QVERIFY(!rows[1][2].isNull());
        QCOMPARE(rows[2].mid(1, 2), f.table(u"WHERE id = 1"_s)[0].mid(1, 2)); // a second row
        QCOMPARE(rows[3].mid(1), QVariantList({u"سيمين"_s, u"نقره\nگون"_s, u"m"_s}));
        QCOMPARE(f.listed().count(u"دارا"_s), 2);
        QCOMPARE(f.count(), u"6"_s);
    }

    // However the window is left, nothing typed is stored and the main list is refilled
    // from the table with all names, the search box emptied.
    void leavingRefillsTheList_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Esc") << 0;
        QTest::newRow("cancel button") << 1;
        QTest::newRow("title bar") << 2;
    }
    void leavingRefillsTheList()
    {
        QFETCH(int, how);
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        auto* filter = f.find<QComboBox>("Combo1");
        filter->setCurrentIndex(0);
        Q_EMIT filter->activated(0);
        f.find<QLineEdit>("txtSearch")->setText(u"دا"_s);
        QCOMPARE(f.listed(), QStringList({u"دارا"_s}));
        OnModal script([&](QWidget* window) {
            testsupport::typeText(nameBox(window), u"ناگفته"_s);
            f.folder.exec(u"INSERT INTO vardel (p_name, gender) VALUES ('ژاله', 'f')"_s);
            if (how == 0)
                QTest::keyClick(nameBox(window), Qt::Key_Escape);
            else if (how == 1)
                QTest::mouseClick(control(window, "cmdCancel"), Qt::LeftButton);
            else
                window->close();
        });
        f.press(Qt::Key_N);
        QVERIFY(script.ran());
        QCOMPARE(f.table().size(), 3);
        QCOMPARE(filter->currentIndex(), 2);
        QCOMPARE(f.find<QLineEdit>("txtSearch")->text(), QString());
        QCOMPARE(f.listed(), QStringList({u"آناهيتا"_s, u"دارا"_s, u"ژاله"_s}));
        QCOMPARE(f.count(), u"3"_s);

        OnModal again([&](QWidget* window) {
            QCOMPARE(nameBox(window)->text(), QString());
            QCOMPARE(genderBox(window)->currentIndex(), 0);
            window->close();
        });
        f.press(Qt::Key_N);
        QVERIFY(again.ran());
    }

    // A table that refuses the row: the error is reported, no row is stored, the window and
    // what was typed stay for another try. A failing refill is reported too.
    void refusedRowKeepsTheWindow()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.folder.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON vardel "
                      "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"_s);
        OnModal script([&](QWidget* window) {
            MessageBox::setNextAnswer(MessageBox::Ok);
            add(window, u"پرويز"_s, u"پيروز"_s);
            const QStringList shown = answered();
            QVERIFY(shown.size() == 1 && shown[0].contains(u"disk is full"_s));
            QCOMPARE(nameBox(window)->text(), u"پرويز"_s);
            QCOMPARE(meaningBox(window)->toPlainText(), u"پيروز"_s);
            QCOMPARE(f.table().size(), 2);
            f.folder.exec(u"DROP TRIGGER refuse"_s);
            QTest::keyClick(nameBox(window), Qt::Key_Return);
            QCOMPARE(nameBox(window)->text(), QString());
            QCOMPARE(f.table(u"WHERE id > 2"_s).size(), 1);
            // The refill after closing fails too: reported, the list stays as it was, and the
            // program goes on.
            f.folder.exec(u"ALTER TABLE vardel RENAME TO hidden"_s);
            MessageBox::setNextAnswer(MessageBox::Ok);
            QTest::keyClick(nameBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_N);
        QVERIFY(script.ran());
        QCOMPARE(answered().size(), 1);
        QCOMPARE(f.list()->count(), 2);
        QCOMPARE(f.count(), u"2"_s);
    }
};

QTEST_MAIN(AddNameTest)
#include "tst_addname.moc"
