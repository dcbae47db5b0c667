// The edit-name window and the edit command, driven through the main window as a user would.
#include "editing/messages.h"
#include "editingfixture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

const QString selectNameMessage = QStringLiteral("لطفا نامي را انتخاب کنيد");

// Ids 1 to 4, listed by name as آناهيتا, بهرام, دارا, ژيلا.
QList<dbfile::Entry> starterNames()
{
    return {{u"دارا"_s, u"دارنده"_s, u"m"_s},
            {u"آناهيتا"_s, u"پاک"_s, u"f"_s},
            {u"بهرام"_s, u"پيروز"_s, u"M"_s},
            {u"ژيلا"_s, QString(), QVariant()}};
}

// Replaces the whole text of a box as a user would: select all, then type.
void retype(QWidget* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    testsupport::typeText(box, text);
}

// Opens the edit window on the entry `name`, runs `change` in it and presses Enter in the
// name box.
void edit(const MainWindowFixture& f, const QString& name,
          const std::function<void(QWidget*)>& change)
{
    f.select(name);
    OnModal script([&](QWidget* window) {
        change(window);
        QTest::keyClick(nameBox(window), Qt::Key_Return);
        QVERIFY(!window->isVisible());
    });
    f.press(Qt::Key_E);
    QVERIFY(script.ran());
}

} // namespace

class EditNameTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Load shows the selected row, the gender entry only for exactly "m" or "f", null
    // columns as empty text; the keyboard turns to Persian when the loaded meaning changes
    // the box and when the name box gains the focus. Esc writes nothing.
    void loadsTheSelectedRow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("meaning");
        QTest::addColumn<int>("gender");
        QTest::newRow("m") << u"دارا"_s << u"دارنده"_s << 0;
        QTest::newRow("f") << u"آناهيتا"_s << u"پاک"_s << 1;
        QTest::newRow("M") << u"بهرام"_s << u"پيروز"_s << -1;
        QTest::newRow("nulls") << u"ژيلا"_s << QString() << -1;
    }
    void loadsTheSelectedRow()
    {
        QFETCH(QString, name);
        QFETCH(QString, meaning);
        QFETCH(int, gender);
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        CountingKeyboard keyboard;
        const auto before = f.table();
        f.select(name);
        OnModal script([&](QWidget* window) {
            checkWindow(window, u"ويرايش اسامي - Edit Name's"_s);
            QCOMPARE(nameBox(window)->text(), name);
            QCOMPARE(meaningBox(window)->toPlainText(), meaning);
            QCOMPARE(genderBox(window)->currentIndex(), gender);
            QCOMPARE(keyboard.hotKeys, meaning.isEmpty() ? 1 : 2);
            QTest::keyClick(meaningBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_E);
        QVERIFY(script.ran());
        QCOMPARE(f.table(), before);
    }

    // Tab order, and the meaning box switching on every change of its text (Clear
    // included) but not on entering it.
    void keys()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        CountingKeyboard keyboard;
        f.select(u"دارا"_s);
        OnModal script([&](QWidget* window) {
            QCOMPARE(tabWalk(6), QStringList({u"txtMean"_s, u"Combo1"_s, u"cmdClear"_s,
                                              u"cmdCancel"_s, u"cmdSave"_s, u"txtName"_s}));
            keyboard.hotKeys = 0;
            QTest::keyClick(nameBox(window), Qt::Key_Tab);
            testsupport::typeText(meaningBox(window), u"ها"_s);
            QCOMPARE(keyboard.hotKeys, 2);
            QTest::mouseClick(control(window, "cmdClear"), Qt::LeftButton);
            QTest::mouseClick(control(window, "cmdClear"), Qt::LeftButton);
            QCOMPARE(keyboard.hotKeys, 3);
            QCOMPARE(nameBox(window)->text(), QString());
            // An empty name is refused; the window stays.
            MessageBox::setNextAnswer(MessageBox::Ok);
            QTest::mouseClick(nameBox(window), Qt::LeftButton);
            QTest::keyClick(nameBox(window), Qt::Key_Return);
            QCOMPARE(answered(), QStringList({u"feild full plz"_s}));
            QVERIFY(window->isVisible());
            QTest::keyClick(nameBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_E);
        QVERIFY(script.ran());
        QCOMPARE(f.table(u"WHERE id = 1"_s)[0][1], u"دارا"_s);
    }

    // Save changes the same row in place; the main list shows the new name where the old
    // one stood, still selected, and the details panel shows the saved row.
    void savesIntoTheSameRow()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        auto expected = f.table();
        edit(f, u"دارا"_s, [](QWidget* window) {
            retype(nameBox(window), u"داريوش"_s);
            retype(meaningBox(window), u"it's نگه'دارنده"_s);
            QTest::keyClick(genderBox(window), Qt::Key_Down);
        });
        expected[0] = QVariantList({1, u"داريوش"_s, u"it's نگه'دارنده"_s, u"f"_s});
        QCOMPARE(f.table(), expected);
        QCOMPARE(f.list()->currentRow(), 2);
        QCOMPARE(f.list()->textAt(f.list()->currentRow()), u"داريوش"_s);
        QCOMPARE(f.find<QLabel>("namestr")->text(), u"داريوش"_s);
        QCOMPARE(f.find<QPlainTextEdit>("meanlbl")->toPlainText(), u"it's نگه'دارنده"_s);
        QCOMPARE(f.find<QLabel>("sexlbl")->text(), u"مونث"_s);

        // Enter in the meaning box saves too; unchanged boxes write the same values.
        f.select(u"آناهيتا"_s);
        OnModal script([&](QWidget* window) {
            QTest::keyClick(meaningBox(window), Qt::Key_Return);
            QVERIFY(!window->isVisible());
        });
        f.press(Qt::Key_E);
        QVERIFY(script.ran());
        QCOMPARE(f.table(), expected);
    }

    // Only what the user changed is written: a field left alone stays byte for byte what it
    // was, also where the boxes cannot show it as stored (a name longer than a line edit
    // holds, a meaning that is no text, line breaks and spaces that text boxes rewrite). A row
    // that another program changed since the window loaded it is not written at all.
    void writesOnlyWhatChanged()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.folder.exec(u"UPDATE vardel SET p_name = ? || 'ب', means = ? WHERE id = 1"_s,
                      {QString(40000, QChar(0x0628)), QByteArray("\xff\x00\xfe", 3)});
        f.folder.exec(u"UPDATE vardel SET means = ? WHERE id = 2"_s, {u"a\u00a0b\r\nc\u2028d"_s});
        const QString snapshot = u"SELECT typeof(p_name), hex(p_name), typeof(means), hex(means) "
                                 "FROM vardel ORDER BY id"_s;
        const auto before = f.folder.query(snapshot);
        f.find<QComboBox>("Combo1")->setCurrentIndex(2);
        Q_EMIT f.find<QComboBox>("Combo1")->activated(2);
        for (int row : {0, 1}) {
            const QString name = f.list()->textAt(row);
            edit(f, name, [](QWidget* window) {
                genderBox(window)->setCurrentIndex(1 - genderBox(window)->currentIndex());
            });
        }
        QCOMPARE(f.folder.query(snapshot), before);
        QCOMPARE(f.folder.query(u"SELECT gender FROM vardel WHERE id <= 2 ORDER BY id"_s),
                 (QList<QVariantList>{{u"f"_s}, {u"m"_s}}));

        f.select(u"آناهيتا"_s);
        OnModal script([&](QWidget* window) {
            f.folder.exec(u"UPDATE vardel SET means = 'دیگر' WHERE p_name = 'آناهيتا'"_s);
            retype(nameBox(window), u"آنا"_s);
            MessageBox::setNextAnswer(MessageBox::Ok);
            QTest::keyClick(nameBox(window), Qt::Key_Return);
            QVERIFY(window->isVisible());
            QTest::keyClick(nameBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_E);
        QVERIFY(script.ran());
        QCOMPARE(answered(), QStringList({editing::messages::nameChangedNotSaved()}));
        QCOMPARE(f.folder.query(u"SELECT count(*) FROM vardel WHERE p_name = 'آناهيتا'"_s),
                 (QList<QVariantList>{{1}}));
    }

    // A meaning far longer than a line, without blanks and with them, line breaks and a
    // surrogate pair where the box breaks it into pieces: the box shows it whole, Ctrl+End
    // and select-all reach all of it, a copy is the text itself, and a save writes what was
    // stored and typed, no line break added.
    void longMeaning()
    {
        const qsizetype piece = editing::MeaningEdit::longestPiece;
        QString meaning = QString(piece - 1, QChar(0x0628)) + u"😀"_s + QString(3 * piece, u'ک');
        meaning += u"\r\n"_s + u"آب "_s.repeated(2 * piece) + u"\n\n"_s + QString(piece, u'ن');
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        f.folder.exec(u"UPDATE vardel SET means = ? WHERE id = 1"_s, {meaning});
        const QString shown = QString(meaning).replace(u"\r\n"_s, u"\n"_s);
        const QString typed = shown + u"ها"_s;
        edit(f, u"دارا"_s, [&](QWidget* window) {
            QPlainTextEdit* box = meaningBox(window);
            QCOMPARE(meaningText(window), shown);
            QVERIFY(box->document()->blockCount() > 10);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(), meaningText(window));
            QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
            testsupport::typeText(box, u"ها"_s);
        });
        QCOMPARE(f.table(u"WHERE id = 1"_s).value(0).value(2).toString(), typed);
    }

    // A gender that is neither code stays unless an entry is chosen; an emptied meaning is
    // empty text.
    void oddGender()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        edit(f, u"بهرام"_s, [](QWidget* window) { retype(meaningBox(window), {}); });
        QCOMPARE(f.table(u"WHERE id = 3"_s)[0], QVariantList({3, u"بهرام"_s, u""_s, u"M"_s}));
        edit(f, u"بهرام"_s,
             [](QWidget* window) { QTest::keyClick(genderBox(window), Qt::Key_Down); });
        QCOMPARE(f.table(u"WHERE id = 3"_s)[0][3], u"m"_s);
    }

    // Nothing selected, or the row removed by another program: a message, and no window.
    void nothingToEdit()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        OnModal unexpected([](QWidget*) { QFAIL("a window opened"); });
        MessageBox::setNextAnswer(MessageBox::Ok);
        f.press(Qt::Key_E);
        QCOMPARE(answered(), QStringList({selectNameMessage}));

        f.select(u"دارا"_s);
        f.folder.exec(u"DELETE FROM vardel WHERE id = 1"_s);
        MessageBox::setNextAnswer(MessageBox::Ok);
        f.press(Qt::Key_E);
        const QStringList shown = answered();
        QVERIFY(shown.size() == 1 && shown[0].contains(u"حذف"_s));
        QCoreApplication::processEvents();
        QVERIFY(!unexpected.ran());
        QCOMPARE(f.table().size(), 3);
    }

    // Save fails when the table refuses the change, and when another program has removed
    // the row: each time a message, nothing written, the window open with what was typed.
    void failedSaveKeepsTheWindow()
    {
        MainWindowFixture f(starterNames(), MainWindowFixture::Active);
        auto expected = f.table();
        f.folder.exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON vardel "
                      "BEGIN SELECT RAISE(ABORT, 'attempt to write a readonly database'); END"_s);
        f.select(u"دارا"_s);
        OnModal script([&](QWidget* window) {
            retype(nameBox(window), u"داراب"_s);
            auto save = [&] {
                MessageBox::setNextAnswer(MessageBox::Ok);
                QTest::keyClick(nameBox(window), Qt::Key_Return);
                return answered().join(u'|') + u'|' + nameBox(window)->text();
            };
            const QString refused = save();
            QVERIFY2(refused.contains(u"readonly"_s) && refused.count(u'|') == 1 &&
                         refused.endsWith(u"|داراب"_s),
                     qPrintable(refused));
            QCOMPARE(f.table(), expected);
            f.folder.exec(u"DROP TRIGGER refuse"_s);
            f.folder.exec(u"DELETE FROM vardel WHERE id = 1"_s);
            expected.removeFirst();
            const QString gone = save();
            QVERIFY2(gone.contains(u"حذف"_s) && gone.count(u'|') == 1 && gone.endsWith(u"|داراب"_s),
                     qPrintable(gone));
            QTest::keyClick(nameBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_E);
        QVERIFY(script.ran());
        QCOMPARE(f.table(), expected);
        QCOMPARE(f.list()->textAt(f.list()->currentRow()), u"دارا"_s);
    }
};

QTEST_MAIN(EditNameTest)
#include "tst_editname.moc"
