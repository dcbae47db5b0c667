#include "app/messagebox.h"
#include "app/startup.h"
#include "mainwindowfixture.h"
#include "store/userdata.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#ifdef Q_OS_UNIX
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#endif

using dbfile::Entry;

namespace {

const QString maleWord = QStringLiteral("مذکر");
const QString femaleWord = QStringLiteral("مونث");

QList<Entry> sampleNames()
{
    return {{QStringLiteral("کوروش"), QStringLiteral("خورشید"), QStringLiteral("m")},
            {QStringLiteral("آرش"), QStringLiteral("درخشان"), QStringLiteral("m")},
            {QStringLiteral("مهسا"), QStringLiteral("مانند ماه"), QStringLiteral("f")},
            {QStringLiteral("بهار"), QStringLiteral(""), QStringLiteral("f")},
            {QStringLiteral("Dara"), QStringLiteral("دارنده"), QStringLiteral("F")},
            {QStringLiteral("آرش"), QStringLiteral("قهرمان کماندار"), QStringLiteral("m")}};
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { MessageBox::takeAnswered(); }

    void firstShownState();
    void layoutAndMenu();
    void genderFilterCounts();
    void emptyTableShowsZero();
    void sameNameTwiceKeepsBothIds();
    void exitShortcutWinsOverCut();
    void enterPressesNoButton();
    void missingDatabaseEndsBeforeTheWindowShows();
    void unusableTableEndsBeforeTheWindowShows();
    void systemWideInstallKeepsNamesInTheUsersFolder();
    void memoryIsKeptInReserveOnceShown();
    void laterDatabaseFailureIsReportedAndTheProgramGoesOn();

    void detailsShowNoGenderForUnknownCodes();
    void detailsOfEmptyAndMissingMeanings();
    void detailsOfARemovedRow();
    void detailsWithoutPictures();
    void detailsWithoutSelectionDoNothing();
};

void MainWindowTest::firstShownState()
{
    MainWindowFixture f(sampleNames());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));

    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral("تمامي اسامي"));
    QCOMPARE(f.listed().size(), 6);
    QCOMPARE(f.count(), QStringLiteral("6"));
    QCOMPARE(f.list()->currentRow(), -1);
    for (const char* empty : {"txtName", "txtSearch"})
        QVERIFY(f.find<QLineEdit>(empty)->text().isEmpty());
    for (const char* empty : {"namestr", "sexlbl"})
        QVERIFY(f.find<QLabel>(empty)->text().isEmpty());
    QVERIFY(f.find<QPlainTextEdit>("meanlbl")->toPlainText().isEmpty());
    QVERIFY(f.find<QLabel>("Picture1")->pixmap().isNull());
    QVERIFY(f.find<QCheckBox>("Check1")->isChecked());
    QVERIFY(!f.find<QCheckBox>("Check2")->isChecked());
    QCOMPARE(QApplication::focusWidget(), f.find("txtName"));
    // Each list entry carries its row's id.
    for (int row = 0; row < f.list()->count(); ++row) {
        const store::NameId id = f.list()->idAt(row);
        const auto stored =
            f.folder.query(QStringLiteral("SELECT p_name FROM vardel WHERE id=?"), {id});
        QCOMPARE(stored.first().first().toString(), f.listed().at(row));
    }
}

void MainWindowTest::layoutAndMenu()
{
    MainWindowFixture f({});
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Vardel"));
    QCOMPARE(f.window->centralWidget()->size(), QSize(522, 350));
    QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
    QCOMPARE(f.window->layoutDirection(), Qt::RightToLeft);
    QCOMPARE(f.find("txtName")->geometry(), QRect(320, 164, 193, 23));
    QCOMPARE(f.find("LstNames")->geometry(), QRect(320, 192, 193, 148));
    QCOMPARE(f.find("Picture1")->geometry(), QRect(408, 8, 105, 129));
    QCOMPARE(f.find("txtSearch")->parentWidget(), f.find("Frame1"));
    QCOMPARE(f.find("Combo1")->parentWidget(), f.find("Frame2"));
    QCOMPARE(f.find<QLabel>("Label1")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(!f.find<QPushButton>("Command1")->isDefault());
    QVERIFY(!f.find<QPushButton>("Command1")->autoDefault());

    // Tab order of the controls that take the focus.
    QStringList order;
    QWidget* w = f.find("txtName");
    for (int i = 0; i < 7; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus || !w->objectName().size())
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    QCOMPARE(order, (QStringList{QStringLiteral("txtName"), QStringLiteral("LstNames"),
                                 QStringLiteral("Check1"), QStringLiteral("Check2"),
                                 QStringLiteral("txtSearch"), QStringLiteral("Command1"),
                                 QStringLiteral("Combo1")}));

    // File menu: the tools submenu, about, exit.
    const QList<QAction*> top = f.window->menuBar()->actions();
    QCOMPARE(top.size(), 1);
    QCOMPARE(top.first()->text(), QStringLiteral("فايل"));
    const QList<QAction*> file = top.first()->menu()->actions();
    QCOMPARE(file.size(), 3);
    QCOMPARE(file[0]->menu()->objectName(), QStringLiteral("mnTools"));
    QCOMPARE(file[0]->text(), QStringLiteral("امکانات"));
    QCOMPARE(file[1]->objectName(), QStringLiteral("about"));
    QCOMPARE(file[2]->objectName(), QStringLiteral("mnExit"));
    QCOMPARE(file[2]->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    const QList<QAction*> tools = file[0]->menu()->actions();
    QStringList names;
    for (QAction* action : tools)
        names << action->objectName() + QLatin1Char('=') + action->shortcut().toString();
    QCOMPARE(names,
             (QStringList{QStringLiteral("mnAddName=Ctrl+N"), QStringLiteral("mnEditanme=Ctrl+E"),
                          QStringLiteral("mnDelete=Ctrl+D")}));
    QCOMPARE(tools[0]->text(), QStringLiteral("اضافه کردن نام جديد"));
}

void MainWindowTest::genderFilterCounts()
{
    MainWindowFixture f(sampleNames());
    auto* search = f.find<QLineEdit>("txtSearch");
    auto* name = f.find<QLineEdit>("txtName");
    name->setText(QStringLiteral("زز")); // the list no longer matches it afterwards
    search->setText(QStringLiteral("x"));

    f.chooseFilter(0);
    QCOMPARE(f.listed(),
             (QStringList{QStringLiteral("آرش"), QStringLiteral("آرش"), QStringLiteral("کوروش")}));
    QCOMPARE(f.count(), QStringLiteral("3"));
    QVERIFY(search->text().isEmpty());
    QCOMPARE(name->text(), QStringLiteral("زز"));

    // "F" is no female code: the row shows only under all names.
    f.chooseFilter(1);
    QCOMPARE(f.listed(), (QStringList{QStringLiteral("بهار"), QStringLiteral("مهسا")}));
    QCOMPARE(f.count(), QStringLiteral("2"));
    f.select(0);
    QCOMPARE(f.list()->currentRow(), 0);
    f.chooseFilter(1); // choosing the same entry again refills
    QCOMPARE(f.list()->currentRow(), -1);
    f.chooseFilter(2);
    QCOMPARE(f.count(), QStringLiteral("6"));

    f.folder.exec(QStringLiteral("DELETE FROM vardel WHERE gender='f'"));
    f.chooseFilter(1);
    QVERIFY(f.listed().isEmpty());
    QCOMPARE(f.count(), QStringLiteral("0"));
}

void MainWindowTest::emptyTableShowsZero()
{
    MainWindowFixture f({});
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.list()->count(), 0);
    QCOMPARE(f.count(), QStringLiteral("0"));
}

void MainWindowTest::sameNameTwiceKeepsBothIds()
{
    MainWindowFixture f(sampleNames());
    f.chooseFilter(0);
    QCOMPARE(f.listed().mid(0, 2), (QStringList{QStringLiteral("آرش"), QStringLiteral("آرش")}));
    QVERIFY(f.list()->idAt(0) != f.list()->idAt(1));
    auto* meaning = f.find<QPlainTextEdit>("meanlbl");
    QStringList meanings;
    for (int row : {0, 1}) {
        f.select(row);
        meanings << meaning->toPlainText();
    }
    meanings.sort();
    QCOMPARE(meanings, (QStringList{QStringLiteral("درخشان"), QStringLiteral("قهرمان کماندار")}));
}

void MainWindowTest::exitShortcutWinsOverCut()
{
    MainWindowFixture f(sampleNames());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto* search = f.find<QLineEdit>("txtSearch");
    search->setFocus();
    search->setText(QStringLiteral("آرش"));
    search->selectAll();
    QTest::keyClick(search, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(search->text(), QStringLiteral("آرش"));
}

void MainWindowTest::enterPressesNoButton()
{
    MainWindowFixture f(sampleNames());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto* search = f.find<QLineEdit>("txtSearch");
    search->setFocus();
    testsupport::typeText(search, QStringLiteral("مه"));
    QTest::keyClick(search, Qt::Key_Return);
    QTest::keyClick(search, Qt::Key_Escape);
    QCOMPARE(f.listed().size(), 6);
    QVERIFY(f.window->isVisible());
}

void MainWindowTest::missingDatabaseEndsBeforeTheWindowShows()
{
    QTemporaryDir empty;
    MessageBox::setNextAnswer(MessageBox::Ok);
    QVERIFY(startup::showMainWindow(empty.path()) == nullptr);
    const QStringList reports = MessageBox::takeAnswered();
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.first().contains(empty.filePath(QStringLiteral("db.mdb"))));
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY(!top->isVisible());
    QVERIFY(!QFile::exists(empty.filePath(QStringLiteral("db.mdb"))));

    // A folder whose path is too long for the database: said so in Persian, with the limit.
    const QString deep = empty.filePath(QString(100, QChar(0x0628)) + QStringLiteral("/") +
                                        QString(100, QChar(0x0628)) + QStringLiteral("/") +
                                        QString(100, QChar(0x0628)));
    MessageBox::setNextAnswer(MessageBox::Ok);
    QVERIFY(startup::showMainWindow(deep) == nullptr);
    const QString report = MessageBox::takeAnswered().value(0);
    QVERIFY2(report.contains(QStringLiteral("بیش از اندازه بلند")) &&
                 report.contains(QStringLiteral("حداکثر")) && !report.contains(u"SQLite"),
             qPrintable(report));
}

void MainWindowTest::unusableTableEndsBeforeTheWindowShows()
{
    // Rows added to a table whose id is not SQLite's rowid would get no id of their own.
    testsupport::AppFolder folder(sampleNames());
    folder.exec(QStringLiteral("CREATE TABLE t (id INT PRIMARY KEY, p_name, means, gender);"
                               "DROP TABLE vardel; ALTER TABLE t RENAME TO vardel"));
    MessageBox::setNextAnswer(MessageBox::Ok);
    QVERIFY(startup::showMainWindow(folder.path()) == nullptr);
    const QStringList reports = MessageBox::takeAnswered();
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.first().contains(folder.dbPath()));
    QVERIFY(reports.first().contains(QStringLiteral("INTEGER PRIMARY KEY")));
}

void MainWindowTest::systemWideInstallKeepsNamesInTheUsersFolder()
{
    testsupport::AppFolder app(sampleNames());
    QFile marker(app.path() + QLatin1Char('/') + QLatin1String(store::systemWideMarker));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", savedDataHome); });
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    const QString userDb = dataHome.filePath(QStringLiteral("vardel/db.mdb"));
    const auto bytesOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };

    // First start: the user's db.mdb is a copy of the starter file beside the program.
    QVERIFY(startup::showMainWindow(app.path()) != nullptr);
    const QByteArray users = bytesOf(userDb);
    QCOMPARE(users, bytesOf(app.dbPath()));
    // A new starter file (an upgrade) reaches neither the user's file nor the list.
    app.exec(QStringLiteral("INSERT INTO vardel (p_name, means, gender) VALUES ('نو', '', 'm')"));
    const auto window = startup::showMainWindow(app.path());
    QVERIFY(window != nullptr);
    QCOMPARE(window->findChild<NameListBox*>(QStringLiteral("LstNames"))->count(),
             sampleNames().size());
    QCOMPARE(bytesOf(userDb), users);
    QVERIFY(MessageBox::takeAnswered().isEmpty());

#ifdef Q_OS_UNIX
    // A copy that breaks off half way (here at a file size limit, as on a full disk) is
    // reported and leaves nothing behind.
    QTemporaryDir fullHome;
    qputenv("XDG_DATA_HOME", fullHome.path().toUtf8());
    rlimit limit{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit unlimited = limit;
    limit.rlim_cur = 4096;
    std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    MessageBox::setNextAnswer(MessageBox::Ok);
    const bool shown = startup::showMainWindow(app.path()) != nullptr;
    setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, SIG_DFL);
    QVERIFY(!shown);
    const QStringList reports = MessageBox::takeAnswered();
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.first().contains(fullHome.filePath(QStringLiteral("vardel/db.mdb"))));
    QCOMPARE(QDir(fullHome.filePath(QStringLiteral("vardel")))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
#endif
}

void MainWindowTest::memoryIsKeptInReserveOnceShown()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    // Page faults of this thread while it takes two blocks of `bytes`, writes them and frees
    // them.
    const auto faultsOfBlocks = [](std::size_t bytes) {
        rusage before{};
        rusage after{};
        getrusage(RUSAGE_THREAD, &before);
        volatile char* blocks[] = {static_cast<volatile char*>(std::malloc(bytes)),
                                   static_cast<volatile char*>(std::malloc(bytes))};
        for (volatile char* block : blocks) {
            for (std::size_t at = 0; at < bytes; at += 4096)
                block[at] = 1;
        }
        for (volatile char* block : blocks)
            std::free(const_cast<char*>(block));
        getrusage(RUSAGE_THREAD, &after);
        return after.ru_minflt - before.ru_minflt;
    };

    testsupport::AppFolder app(sampleNames());
    const auto window = startup::showMainWindow(app.path());
    QVERIFY(window && QTest::qWaitForWindowExposed(window.get()));
    // Its first paint, and the rest of that round of the event loop.
    window->repaint();
    QCoreApplication::processEvents();
    // The largest blocks a keystroke takes for a moment now find their pages mapped, each time.
    // (Left to the C library, a block of a megabyte or more is mapped afresh at each request, or
    // taken from the top of the heap and given back.)
    QCOMPARE(faultsOfBlocks(1 << 20), 0);
    QCOMPARE(faultsOfBlocks(1 << 20), 0);
    QCOMPARE(faultsOfBlocks(1500000), 0);
#else
    QSKIP("only glibc's heap can be told to keep memory");
#endif
}

void MainWindowTest::laterDatabaseFailureIsReportedAndTheProgramGoesOn()
{
    MainWindowFixture f(sampleNames());
    f.window->show();
    QVERIFY(QFile::remove(f.folder.dbPath()));
    MessageBox::setNextAnswer(MessageBox::Ok);
    f.chooseFilter(0);
    QCOMPARE(MessageBox::takeAnswered().size(), 1);
    QVERIFY(f.window->isVisible());
    // The list the user had stays, with its count.
    QCOMPARE(f.listed().size(), sampleNames().size());
    QCOMPARE(f.count(), QString::number(sampleNames().size()));
    QVERIFY(!QFile::exists(f.folder.dbPath()));
}

void MainWindowTest::detailsShowNoGenderForUnknownCodes()
{
    MainWindowFixture f(sampleNames());
    const int kourosh = static_cast<int>(f.listed().indexOf(QStringLiteral("کوروش")));
    f.select(kourosh);
    QCOMPARE(f.find<QLabel>("namestr")->text(), QStringLiteral("کوروش"));
    QCOMPARE(f.find<QPlainTextEdit>("meanlbl")->toPlainText(), QStringLiteral("خورشید"));
    QCOMPARE(f.find<QLabel>("sexlbl")->text(), maleWord);
    const QImage male = f.find<QLabel>("Picture1")->pixmap().toImage();
    QCOMPARE(male.size(), QSize(105, 129));

    // A code other than m or f claims no gender: no word, no picture.
    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("Dara"))));
    QCOMPARE(f.find<QLabel>("namestr")->text(), QStringLiteral("Dara"));
    QCOMPARE(f.find<QPlainTextEdit>("meanlbl")->toPlainText(), QStringLiteral("دارنده"));
    QCOMPARE(f.find<QLabel>("sexlbl")->text(), QString());
    QVERIFY(f.find<QLabel>("Picture1")->pixmap().isNull());

    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("مهسا"))));
    QCOMPARE(f.find<QLabel>("sexlbl")->text(), femaleWord);
    QVERIFY(f.find<QLabel>("Picture1")->pixmap().toImage() != male);
}

void MainWindowTest::detailsOfEmptyAndMissingMeanings()
{
    MainWindowFixture f(sampleNames());
    f.folder.exec(
        QStringLiteral("INSERT INTO vardel (p_name, means, gender) VALUES ('x', NULL, 'm')"));
    f.chooseFilter(2);
    auto* meaning = f.find<QPlainTextEdit>("meanlbl");
    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("کوروش"))));
    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("بهار"))));
    QVERIFY(meaning->toPlainText().isEmpty());
    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("کوروش"))));
    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("x"))));
    QVERIFY(meaning->toPlainText().isEmpty());
    QCOMPARE(f.find<QLabel>("namestr")->text(), QStringLiteral("x"));
}

void MainWindowTest::detailsOfARemovedRow()
{
    MainWindowFixture f(sampleNames());
    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("کوروش"))));
    const int row = static_cast<int>(f.listed().indexOf(QStringLiteral("مهسا")));
    f.folder.exec(QStringLiteral("DELETE FROM vardel WHERE id=?"), {QVariant(f.list()->idAt(row))});
    f.select(row);
    QVERIFY(MessageBox::takeAnswered().isEmpty());
    QVERIFY(f.find<QLabel>("namestr")->text().isEmpty());
    QVERIFY(f.find<QLabel>("sexlbl")->text().isEmpty());
    QVERIFY(f.find<QPlainTextEdit>("meanlbl")->toPlainText().isEmpty());
    QVERIFY(f.find<QLabel>("Picture1")->pixmap().isNull());
}

void MainWindowTest::detailsWithoutPictures()
{
    MainWindowFixture f(sampleNames());
    QVERIFY(QFile::remove(f.folder.path() + QStringLiteral("/man.jpg")));
    QFile broken(f.folder.path() + QStringLiteral("/Female.jpg"));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a picture");
    broken.close();
    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("کوروش"))));
    QCOMPARE(f.find<QLabel>("sexlbl")->text(), maleWord);
    QVERIFY(f.find<QLabel>("Picture1")->pixmap().isNull());
    f.select(static_cast<int>(f.listed().indexOf(QStringLiteral("مهسا"))));
    QCOMPARE(f.find<QLabel>("sexlbl")->text(), femaleWord);
    QVERIFY(f.find<QLabel>("Picture1")->pixmap().isNull());
}

void MainWindowTest::detailsWithoutSelectionDoNothing()
{
    MainWindowFixture f(sampleNames());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.list()->setFocus();
    f.list()->clearSelection();
    QTest::keyClick(f.list(), Qt::Key_Return);
    QVERIFY(f.find<QLabel>("namestr")->text().isEmpty());
    QVERIFY(MessageBox::takeAnswered().isEmpty());
    // Clicking below the last entry selects nothing either.
    QTest::mouseClick(f.list()->viewport(), Qt::LeftButton, {},
                      QPoint(5, f.list()->viewport()->height() - 2));
    QVERIFY(f.find<QLabel>("namestr")->text().isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
