// Times what the user waits for in the main window, end to end (from the handler's start to
// the window repainted), on a db.mdb of 32,767 realistic Persian names. Prints the median and
// the 95th percentile of each operation and the peak memory.
//
//   vardel-bench [--runs N]
#include "app/frmmain.h"
#include "app/namelist.h"
#include "look/look.h"
#include "store/connectionstring.h"
#include "testsupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/resource.h>

namespace {

constexpr int NameCount = 32767;

struct Figures
{
    QList<double> ms;

    double percentile(double p) const
    {
        QList<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const auto at = std::llround(p * static_cast<double>(sorted.size() - 1));
        return sorted.isEmpty() ? 0 : sorted[at];
    }
};

void report(const char* what, const Figures& figures, const char* goal = "")
{
    std::printf("%-44s median %8.3f ms   p95 %8.3f ms   (%lld runs)%s\n", what,
                figures.percentile(0.5), figures.percentile(0.95),
                static_cast<long long>(figures.ms.size()), goal);
}

template <typename Work> double timed(Work work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// 32,767 names: the shared real names first, then compound names made of two of them, each
// with a meaning of a few Persian words.
QList<dbfile::Entry> benchmarkNames()
{
    if (qEnvironmentVariableIsEmpty("VARDEL_NAMES_DATA"))
        qputenv("VARDEL_NAMES_DATA", VARDEL_NAMES_DATA_DEFAULT);
    const QList<dbfile::Entry> real = testsupport::realNames(NameCount);
    static const QStringList words =
        QStringLiteral(
            "روشنایی ماه خورشید گل ستاره دریا باران نسیم بهار شادی مهربان دلیر پاک زیبا نیک "
            "آسمان کوه فرشته امید نور")
            .split(QLatin1Char(' '));
    QRandomGenerator random(2026);
    QList<dbfile::Entry> names;
    names.reserve(NameCount);
    for (int i = 0; names.size() < NameCount; ++i) {
        dbfile::Entry entry = real[i % real.size()];
        if (i >= real.size())
            entry.name += QStringLiteral("‌") + real[random.bounded(real.size())].name;
        entry.meaning = words[random.bounded(words.size())] + QLatin1Char(' ') +
                        words[random.bounded(words.size())] + QStringLiteral(" و ") +
                        words[random.bounded(words.size())];
        names.append(entry);
    }
    return names;
}

long peakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void typeKey(QWidget* box, const QString& text)
{
    testsupport::typeText(box, text);
}

void backspace(QWidget* box)
{
    QTest::keyClick(box, Qt::Key_Backspace);
}

// Prefixes of 1, 2 and 3 letters taken from real names, so that each narrows as typing does.
QStringList prefixes(const QList<dbfile::Entry>& names, int count)
{
    QRandomGenerator random(11);
    QStringList result;
    while (result.size() < count) {
        const QString& name = names[random.bounded(8000)].name;
        if (name.size() >= 3 && !name.contains(QChar(0x200C)))
            result << name.left(3);
    }
    return result;
}

int startupChild(const QString& folder)
{
    QApplication app(
        *new int(1), new char* [1] { const_cast<char*>("vardel-bench") });
    look::installFontSubstitutes();
    frmMain window;
    window.load(folder);
    window.show();
    QWidget* list = window.findChild<QWidget*>(QStringLiteral("LstNames"));
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the main window did not show");
    list->repaint();
    std::printf("painted\n");
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--startup-child") == 0)
        return startupChild(QString::fromLocal8Bit(argv[2]));

    int runs = 40;
    if (argc == 3 && qstrcmp(argv[1], "--runs") == 0)
        runs = std::max(5, atoi(argv[2]));

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    look::installFontSubstitutes();

    const QList<dbfile::Entry> names = benchmarkNames();
    testsupport::AppFolder folder(names);
    std::printf("vardel-bench: %d names in %s, %d runs per operation\n\n", NameCount,
                qPrintable(folder.dbPath()), runs);

    // Start-up: a fresh process each time, from its start to the first painted window.
    Figures startup;
    for (int i = 0; i < std::min(runs, 20); ++i) {
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--startup-child"), folder.path()});
        child.waitForReadyRead(30000);
        startup.ms << static_cast<double>(timer.nsecsElapsed()) / 1e6;
        child.waitForFinished(30000);
    }

    frmMain window;
    window.load(folder.path());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the main window did not show");
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("txtName"));
    auto* list = window.findChild<NameListBox*>(QStringLiteral("LstNames"));
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* search = window.findChild<QLineEdit*>(QStringLiteral("txtSearch"));
    auto* both = window.findChild<QCheckBox*>(QStringLiteral("Check2"));
    auto* button = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    both->setChecked(true);
    // What each handler changes on screen: the list (with its scroll bar) and its count always,
    // and the box typed in or the details shown.
    auto control = [&](const char* name) {
        return window.findChild<QWidget*>(QLatin1String(name));
    };
    const QList<QWidget*> listAndCount = {list, control("LBLNameCount")};
    const QList<QWidget*> typing = listAndCount + QList<QWidget*>{box};
    const QList<QWidget*> filtering = listAndCount + QList<QWidget*>{combo, search};
    const QList<QWidget*> details = {list, control("namestr"), control("sexlbl"),
                                     control("meanlbl"), control("Picture1")};
    // Those parts of the window are painted in one pass, as Qt paints everything a handler
    // made dirty at the next update.
    auto repaint = [&window](const QList<QWidget*>& widgets) {
        QRegion changed;
        for (const QWidget* widget : widgets)
            changed += QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        window.repaint(changed);
    };

    Figures key1, key2, key3, erase;
    for (const QString& prefix : prefixes(names, runs)) {
        key1.ms << timed([&] {
            typeKey(box, prefix.left(1));
            repaint(typing);
        });
        key2.ms << timed([&] {
            typeKey(box, prefix.mid(1, 1));
            repaint(typing);
        });
        key3.ms << timed([&] {
            typeKey(box, prefix.mid(2, 1));
            repaint(typing);
        });
        backspace(box);
        backspace(box);
        erase.ms << timed([&] {
            backspace(box);
            repaint(typing);
        });
        if (list->count() != NameCount)
            qFatal("deleting the last letter listed %d names", list->count());
    }

    Figures filter;
    for (int i = 0; i < runs; ++i) {
        filter.ms << timed([&] {
            combo->setCurrentIndex(i % 2);
            Q_EMIT combo->activated(i % 2);
            repaint(filtering);
        });
    }

    Figures searchFigures;
    for (const QString& prefix : prefixes(names, runs)) {
        search->setText(prefix.left(2));
        searchFigures.ms << timed([&] {
            button->click();
            repaint(listAndCount);
        });
    }

    Figures select;
    combo->setCurrentIndex(2);
    Q_EMIT combo->activated(2);
    QRandomGenerator random(5);
    for (int i = 0; i < runs; ++i) {
        const QModelIndex index = list->model()->index(random.bounded(list->count()));
        list->scrollTo(index);
        const QPoint at = list->visualRect(index).center();
        select.ms << timed([&] {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            repaint(details);
        });
    }

    // Adding names in the add window, then the refill of the list when it closes.
    Figures add, refill;
    auto* addAction = window.findChild<QAction*>(QStringLiteral("mnAddName"));
    for (int opening = 0; opening < std::max(3, runs / 8); ++opening) {
        QElapsedTimer closing;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("txtName"));
            auto* meaning = dialog->findChild<QPlainTextEdit*>(QStringLiteral("txtMean"));
            auto* addButton = dialog->findChild<QPushButton*>(QStringLiteral("cmdAdd"));
            for (int i = 0; i < 4; ++i) {
                name->setText(QStringLiteral("نام تازه %1").arg(opening * 4 + i));
                meaning->setPlainText(QStringLiteral("معنی تازه"));
                add.ms << timed([&] {
                    addButton->click();
                    dialog->repaint();
                });
            }
            closing.start();
            dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        });
        addAction->trigger();
        repaint(filtering);
        refill.ms << static_cast<double>(closing.nsecsElapsed()) / 1e6;
    }

    report("start-up to the first painted window", startup, "   goal: median <= 250 ms");
    report("keystroke, prefix of 1 letter", key1, "   goal: median <= 2 ms");
    report("keystroke, prefix of 2 letters", key2, "   goal: median <= 2 ms");
    report("keystroke, prefix of 3 letters", key3, "   goal: median <= 2 ms");
    report("deleting the last letter (32,767 names)", erase, "   goal: median <= 16 ms");
    report("gender filter (about half the names)", filter);
    report("search button, names and meanings", searchFigures);
    report("selecting a name (details)", select);
    report("adding a name (add button)", add);
    report("list refill when the add window closes", refill);
    std::printf("peak memory: %.1f MB   goal: <= 80 MB\n",
                static_cast<double>(peakMemoryKiB()) / 1024.0);
    return 0;
}
