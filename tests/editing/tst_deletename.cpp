// The delete command and the name list's popup menu and Enter key, driven through the main
// window as a user would.
#include "editing/messages.h"
#include "editingfixture.h"

#include <QMenu>
#include <QMessageBox>

namespace {

const QString confirmMessage = QStringLiteral("آيا مطمئن هستيد ميخواهيد اين نام را حذف کنيد؟");
const QString selectNameMessage = QStringLiteral("لطفا نامي را انتخاب کنيد");

// Ids 1 to 4; two entries read "سارا". Listed by name as آرمان, سارا, سارا, نيما.
QList<dbfile::Entry> starterNames()
{
    return {{u"نيما"_s, u"نام کوهي"_s, u"m"_s},
            {u"سارا"_s, u"خالص"_s, u"f"_s},
            {u"آرمان"_s, u"آرزو"_s, u"m"_s},
            {u"سارا"_s, u"بانو"_s, u"f"_s}};
}

QVariantList ids(const MainWindowFixture& f)
{
    QVariantList ids;
    for (const QVariantList& row : f.table())
        ids << row[0];
    return ids;
}

// Right-clicks the list over `row` (or an empty spot) and clicks `command` in the popup;
// `then` waits for the window the command opens.
void popup(const MainWindowFixture& f, int row, const char* command, OnModal* then = nullptr)
{
    OnModal menu([&](QWidget* popup) {
        auto* tools = qobject_cast<QMenu*>(popup);
        QVERIFY(tools && tools->objectName() == u"mnTools"_s);
        if (then)
            then->arm();
        for (QAction* action : tools->actions())
            if (action->objectName() == QLatin1String(command))
                QTest::mouseClick(tools, Qt::LeftButton, {},
                                  tools->actionGeometry(action).center());
    });
    const QPoint at =
        row < 0 ? QPoint(3, 3) : f.list()->visualRect(f.list()->model()->index(row)).center();
    QTest::mouseClick(f.list()->viewport(), Qt::RightButton, {}, at);
    QVERIFY(menu.ran());
}

} // namespace

class DeleteNameTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The real question: empty title, question icon, Yes and No with No the default, so
    // Enter answers No and nothing changes.
    void enterAtTheQuestionAnswersNo()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        const auto before = f.table();
        f.select(1);
        OnModal script([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QString());
            QCOMPARE(box->text(), confirmMessage);
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        f.press(Qt::Key_D);
        QVERIFY(script.ran());
        QCOMPARE(f.table(), before);
        QCOMPARE(f.list()->count(), 4);
        QCOMPARE(f.list()->currentRow(), 1);
    }

    // The question comes first: No ends everything, Yes with nothing selected asks for a
    // selection.
    void nothingSelected()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        MessageBox::setNextAnswer(MessageBox::No);
        f.press(Qt::Key_D);
        QCOMPARE(answered(), QStringList({confirmMessage}));
        MessageBox::setNextAnswer(MessageBox::Yes);
        MessageBox::setNextAnswer(MessageBox::Ok);
        f.press(Qt::Key_D);
        QCOMPARE(answered(), QStringList({confirmMessage, selectNameMessage}));
        QCOMPARE(ids(f), QVariantList({1, 2, 3, 4}));
    }

    // Yes removes exactly the selected entry's row and entry, however many entries show the
    // same text; the count follows, the details panel forgets the name, nothing stays
    // selected.
    void deletesExactlyTheSelectedRow()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        const store::NameId id = f.list()->idAt(2);
        const store::NameId twin = f.list()->idAt(1);
        f.select(2);
        MessageBox::setNextAnswer(MessageBox::No);
        f.press(Qt::Key_D);
        QCOMPARE(f.list()->count(), 4);
        MessageBox::setNextAnswer(MessageBox::Yes);
        f.press(Qt::Key_D);
        QCOMPARE(answered(), QStringList({confirmMessage, confirmMessage}));

        QVariantList remaining = {1, 2, 3, 4};
        remaining.removeOne(id);
        QCOMPARE(ids(f), remaining);
        QCOMPARE(f.listed(), QStringList({u"آرمان"_s, u"سارا"_s, u"نيما"_s}));
        QCOMPARE(f.list()->idAt(1), twin);
        QCOMPARE(f.count(), u"3"_s);
        QCOMPARE(f.list()->currentRow(), -1);
        QCOMPARE(f.find<QLabel>("namestr")->text(), QString());
        QCOMPARE(f.find<QPlainTextEdit>("meanlbl")->toPlainText(), QString());
        QVERIFY(f.find<QLabel>("Picture1")->pixmap().isNull());
    }

    // A row another program removed: a message, the stale entry leaves the list. A table
    // that refuses the delete: the error is reported and the entry stays.
    void rowGoneOrRefused()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.folder.exec(u"DELETE FROM vardel WHERE id = 1"_s);
        f.select(u"نيما"_s);
        MessageBox::setNextAnswer(MessageBox::Yes);
        MessageBox::setNextAnswer(MessageBox::Ok);
        f.press(Qt::Key_D);
        QStringList shown = answered();
        QVERIFY(shown.size() == 2 && shown[1].contains(u"حذف"_s));
        QCOMPARE(f.listed(), QStringList({u"آرمان"_s, u"سارا"_s, u"سارا"_s}));
        QCOMPARE(f.count(), u"3"_s);

        f.folder.exec(u"CREATE TRIGGER refuse BEFORE DELETE ON vardel "
                      "BEGIN SELECT RAISE(ABORT, 'database is locked'); END"_s);
        f.select(0);
        MessageBox::setNextAnswer(MessageBox::Yes);
        MessageBox::setNextAnswer(MessageBox::Ok);
        f.press(Qt::Key_D);
        shown = answered();
        QVERIFY(shown.size() == 2 && shown[1].contains(u"database is locked"_s));
        QCOMPARE(ids(f), QVariantList({2, 3, 4}));
        QCOMPARE(f.list()->count(), 3);
        QCOMPARE(f.list()->currentRow(), 0);
    }

    // Another program changes the meaning and gender of the name shown: the delete removes
    // nothing, says so, and keeps the entry, now showing the row as it is. Asked again, it
    // deletes.
    void rowChangedMeanwhileStays()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.select(u"نيما"_s);
        QCOMPARE(f.find<QPlainTextEdit>("meanlbl")->toPlainText(), u"نام کوهي"_s);
        f.folder.exec(u"UPDATE vardel SET means = 'دیگر', gender = 'f' WHERE id = 1"_s);
        MessageBox::setNextAnswer(MessageBox::Yes);
        MessageBox::setNextAnswer(MessageBox::Ok);
        f.press(Qt::Key_D);
        QCOMPARE(answered(),
                 QStringList({confirmMessage, editing::messages::nameChangedNotDeleted()}));
        QCOMPARE(ids(f), QVariantList({1, 2, 3, 4}));
        QCOMPARE(f.list()->count(), 4);
        QCOMPARE(f.list()->textAt(f.list()->currentRow()), u"نيما"_s);
        QCOMPARE(f.find<QPlainTextEdit>("meanlbl")->toPlainText(), u"دیگر"_s);
        QCOMPARE(f.find<QLabel>("sexlbl")->text(), u"مونث"_s);

        MessageBox::setNextAnswer(MessageBox::Yes);
        f.press(Qt::Key_D);
        QCOMPARE(answered(), QStringList({confirmMessage}));
        QCOMPARE(ids(f), QVariantList({2, 3, 4}));
    }

    // The delete acts on the row the entry was read from, or on none: not on another row
    // that took its id (SQLite reuses the id of a removed last row without AUTOINCREMENT),
    // nor on a row whose id is beyond 32 bits. After the last entry shown leaves the list,
    // the next fill still labels every entry with its own name.
    void deletesOnlyTheRowItRead()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.folder.exec(
            u"CREATE TABLE plain (id INTEGER PRIMARY KEY, p_name, means, gender);"
            "INSERT INTO plain SELECT id, p_name, means, gender FROM vardel; DROP TABLE vardel;"
            "ALTER TABLE plain RENAME TO vardel"_s);
        constexpr store::NameId big = (store::NameId(1) << 32) + 2;
        f.folder.exec(u"INSERT INTO vardel VALUES (?, 'بردیا', 'بلند', 'm')"_s, {QVariant(big)});
        f.find<QLineEdit>("txtName")->setText(u"ن"_s);
        f.select(u"نيما"_s);
        f.folder.exec(u"DELETE FROM vardel WHERE id = 1"_s);
        f.folder.exec(
            u"INSERT INTO vardel (id, p_name, means, gender) VALUES (1, 'نگار', 'نقش', 'f')"_s);
        MessageBox::setNextAnswer(MessageBox::Yes);
        MessageBox::setNextAnswer(MessageBox::Ok);
        f.press(Qt::Key_D);
        QCOMPARE(answered().size(), 2);
        QCOMPARE(f.table(u"WHERE id = 1"_s).value(0).value(1), u"نگار"_s);
        QCOMPARE(f.list()->count(), 0);

        f.find<QLineEdit>("txtName")->setText(u"ب"_s);
        QCOMPARE(f.listed(), QStringList({u"بردیا"_s}));
        QCOMPARE(f.list()->idAt(0), big);
        f.select(0);
        MessageBox::setNextAnswer(MessageBox::Yes);
        f.press(Qt::Key_D);
        QCOMPARE(answered(), QStringList({confirmMessage}));
        QCOMPARE(ids(f), QVariantList({1, 2, 3, 4}));
        f.find<QLineEdit>("txtName")->setText(QString());
        QCOMPARE(f.listed(), QStringList({u"آرمان"_s, u"سارا"_s, u"سارا"_s, u"نگار"_s}));
    }

    // A right click over another entry leaves the selection alone: the popup's commands act
    // on the selected entry, not on the one under the pointer.
    void popupActsOnTheSelectedEntry()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.select(u"آرمان"_s);
        OnModal window(
            [&](QWidget* edit) {
                QCOMPARE(nameBox(edit)->text(), u"آرمان"_s);
                QTest::keyClick(nameBox(edit), Qt::Key_Escape);
            },
            false);
        popup(f, 3, "mnEditanme", &window);
        QVERIFY(window.ran());
        QCOMPARE(f.list()->currentRow(), 0);

        MessageBox::setNextAnswer(MessageBox::Yes);
        popup(f, 3, "mnDelete");
        QCOMPARE(answered(), QStringList({confirmMessage}));
        QCOMPARE(ids(f), QVariantList({1, 2, 4}));
    }

    // On an empty list the popup opens too; add from it and leave at once: the list is
    // filled again from the table.
    void popupAddOnAnEmptyList()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.find<QLineEdit>("txtName")->setText(u"ژ"_s);
        QCOMPARE(f.list()->count(), 0);
        OnModal window([&](QWidget* add) { QTest::keyClick(nameBox(add), Qt::Key_Escape); }, false);
        popup(f, -1, "mnAddName", &window);
        QVERIFY(window.ran());
        QCOMPARE(f.listed(), QStringList({u"آرمان"_s, u"سارا"_s, u"سارا"_s, u"نيما"_s}));
    }

    // Enter in the list shows the selected row's details afresh, as a double click does.
    void enterShowsTheDetails()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.select(u"نيما"_s);
        f.folder.exec(u"UPDATE vardel SET means = 'کوه' WHERE id = 1"_s);
        QTest::keyClick(f.list(), Qt::Key_Return);
        QCOMPARE(f.find<QPlainTextEdit>("meanlbl")->toPlainText(), u"کوه"_s);
    }
};

QTEST_MAIN(DeleteNameTest)
#include "tst_deletename.moc"
