// A seeded, randomized model test of the main window. It plays thousands of user actions
// (typing and erasing in the name box, the gender filter, searches, clicking entries, Enter in
// the list, adding, editing and deleting names) mixed with another program changing db.mdb
// directly, and after every step compares the table, the list, the count and the details
// panel with a plain model of what they should hold.
//
// VARDEL_MODEL_SEED and VARDEL_MODEL_STEPS choose the run (a fixed seed otherwise). A failure
// prints the seed and a shortened list of actions that still fails; VARDEL_MODEL_REPLAY set to
// the indices printed with it plays exactly those actions of the seed's sequence again.
#include "editingfixture.h"

#include "app/errorreport.h"
#include "editing/messages.h"
#include "store/error.h"
#include "store/orderkey.h"
#include "store/persian.h"

#include <map>
#include <numeric>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QRandomGenerator>

namespace {

namespace messages = editing::messages;

constexpr quint64 ciSeed = 20240611;
// A search text too long to search: 52,000 bytes of UTF-8, beyond the longest LIKE pattern
// SQLite matches (SQLITE_MAX_LIKE_PATTERN_LENGTH, 50,000 bytes).
constexpr qsizetype tooLongSearch = 26000;
constexpr int defaultSteps = 4000;
constexpr qint64 shrinkBudgetMs = qint64(3) * 60 * 1000;
const QChar zwnj(0x200C);

// A row's p_name, means and gender (the table's rows also lead with the id); a null QVariant
// stands for NULL.
using Row = QVariantList;
enum Column
{
    Name,
    Meaning,
    Gender
};

QString text(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

bool same(const QVariantList& a, const QVariantList& b)
{
    for (qsizetype c = 0; c < a.size(); ++c)
        if (a[c].isNull() != b.value(c).isNull() || text(a[c]) != text(b.value(c)))
            return false;
    return a.size() == b.size();
}

QString shown(const QVariant& value)
{
    if (value.isNull())
        return u"NULL"_s;
    QString s = value.toString();
    if (s.size() > 30)
        s = s.left(16) + u"…(%1 chars)"_s.arg(s.size());
    return u'"' + s.replace(u'\n', u"\\n"_s).replace(zwnj, u"<zwnj>"_s) + u'"';
}

QString shownRow(const QVariantList& row)
{
    QStringList fields;
    for (const QVariant& value : row)
        fields << shown(value);
    return u'(' + fields.join(u", "_s) + u')';
}

// Where `actual` and `expected` first differ, said in words; empty where they agree.
template <typename T, typename Same, typename Show>
QString difference(const char* what, const QList<T>& actual, const QList<T>& expected, Same same,
                   Show show)
{
    for (qsizetype i = 0; i < qMax(actual.size(), expected.size()); ++i)
        if (i >= actual.size() || i >= expected.size() || !same(actual[i], expected[i]))
            return u"%1 %2 is %3, expected %4"_s.arg(QLatin1String(what))
                .arg(i)
                .arg(i < actual.size() ? show(actual[i]) : u"missing"_s,
                     i < expected.size() ? show(expected[i]) : u"none"_s);
    return {};
}

// ---- Actions -------------------------------------------------------------------------------

enum class Kind
{
    Type,
    Erase,
    Filter,
    Search,
    Select,
    Enter,
    Add,
    Edit,
    Delete,
    OtherAdd,
    OtherChange,
    OtherDelete,
    OtherReuse
};

// One step. Entries and rows are chosen by `pick` modulo what there is when the step runs, so
// any part of a sequence is a sequence too. What `choice` and `extra` mean: Generator::step.
struct Action
{
    Kind kind = Kind::Enter;
    quint32 pick = 0;
    int choice = 0;
    int extra = 0;
    Row row = Row(3);   // texts typed or written; an edit leaves null ones as loaded
    QList<Action> more; // the names typed into the add window; the other program's writes
                        // while the edit window is open
};

QString describe(const Action& a)
{
    static const char* const kinds[] = {
        "type",         "erase",        "filter",      "search",        "click",
        "Enter",        "Ctrl+N add",   "Ctrl+E edit", "Ctrl+D delete", "other-add",
        "other-change", "other-delete", "other-reuse"};
    QStringList parts{QLatin1String(kinds[static_cast<int>(a.kind)])};
    if (a.kind == Kind::Select || a.kind == Kind::Edit || a.kind >= Kind::OtherChange)
        parts << u"pick=%1"_s.arg(a.pick);
    if (a.choice)
        parts << u"choice=%1"_s.arg(a.choice);
    if (a.extra)
        parts << u"extra=%1"_s.arg(a.extra);
    if (a.kind >= Kind::OtherAdd)
        parts << shownRow(a.row);
    else
        for (const QVariant& value : a.row)
            if (!value.isNull())
                parts << shown(value);
    for (const Action& item : a.more)
        parts << u"[%1]"_s.arg(describe(item));
    return parts.join(u' ');
}

// ---- The seeded sequence -------------------------------------------------------------------

const QStringList& namePool()
{
    static const QStringList names = [] {
        QStringList all;
        for (const dbfile::Entry& entry : testsupport::realNames(9000))
            all << entry.name;
        return all;
    }();
    return names;
}

class Generator
{
public:
    explicit Generator(quint64 seed) : rng(seed) {}

    QList<dbfile::Entry> start(int count)
    {
        QList<dbfile::Entry> entries;
        while (entries.size() < count)
            entries.append({name().toString(), meaning().toString(), gender()});
        entries.append({longText(), meaning().toString(), u"f"_s});
        entries.append({entries[0].name, meaning().toString(), u"m"_s}); // one name twice
        return entries;
    }

    QList<Action> actions(int count)
    {
        QList<Action> all;
        while (all.size() < count) {
            const Action a = step();
            // Edit and delete most often right after a click on an entry.
            if ((a.kind == Kind::Edit || a.kind == Kind::Delete) && chance(60))
                all.append(make(Kind::Select));
            all.append(a);
        }
        all.resize(count);
        return all;
    }

private:
    int below(int n) { return static_cast<int>(rng.bounded(static_cast<quint32>(n))); }
    bool chance(int percent) { return below(100) < percent; }
    const QString& any(const QStringList& list) { return list[below(int(list.size()))]; }
    Action make(Kind kind)
    {
        Action a;
        a.kind = kind;
        a.pick = rng.generate();
        return a;
    }

    QString word()
    {
        static const QStringList words = {u"پاک"_s,   u"دارنده"_s, u"روشنایی"_s, u"نیکو"_s,
                                          u"ماه"_s,   u"گل"_s,     u"شاه"_s,     u"دلير"_s,
                                          u"نور"_s,   u"آسمان"_s,  u"كوهستان"_s, u"زیبا"_s,
                                          u"يگانه"_s, u"بخشنده"_s, u"اميد"_s,    u"ستاره"_s};
        return chance(70) ? any(words) : any(namePool());
    }
    // Other forms of the same letters, and a joiner.
    QString variant(QString s)
    {
        if (chance(25))
            s.replace(u'ی', u'ي');
        if (chance(25))
            s.replace(u'ک', u'ك');
        if (chance(10) && s.size() > 1)
            s.insert(1 + below(static_cast<int>(s.size()) - 1), zwnj);
        return s;
    }
    QString longText()
    {
        QString s;
        for (const int size = 2000 + below(3000); s.size() < size;)
            s += word() + (chance(80) ? QChar(u' ') : zwnj);
        return s;
    }
    // A name as typed; as another program writes it (`written`), also NULL and characters
    // beyond the first Unicode plane.
    QVariant name(bool written = false)
    {
        static const QStringList odd = {u"sara"_s, u"a_b"_s, u"100%"_s, u"x\\y"_s,
                                        u"_"_s,    u"  "_s,  u""_s};
        if (written && chance(8))
            return {};
        const int r = below(100);
        QString s = r < 80   ? variant(any(namePool()))
                    : r < 86 ? variant(any(namePool()) + zwnj + any(namePool()))
                    : r < 90 ? variant(any(namePool())) + u' ' + any(namePool())
                    : r < 93 ? longText()
                             : any(odd);
        if (written && chance(8))
            s.insert(below(static_cast<int>(s.size()) + 1), chance(50) ? u"😀"_s : u"𐎠"_s);
        return s;
    }
    QVariant meaning(bool written = false)
    {
        if (written && chance(15))
            return {};
        const int r = below(100);
        if (r < 30 || r >= 90)
            return r < 30 ? u""_s : longText();
        QStringList words;
        for (int n = 1 + below(4); n > 0; --n)
            words << word();
        return words.join(r < 80 ? u' ' : u'\n');
    }
    QVariant gender()
    {
        const int r = below(20);
        if (r < 18)
            return r < 9 ? u"m"_s : u"f"_s;
        return r == 18 ? QVariant() : QVariant(chance(50) ? u"M"_s : u"x"_s);
    }
    // The beginning of a name or a meaning, as searched for.
    QString prefix()
    {
        static const QStringList odd = {u""_s, u"_"_s, u"%"_s, u"\\"_s, u"sa"_s};
        if (chance(12))
            return any(odd);
        return variant((chance(50) ? any(namePool()) : word()).left(1 + below(3)));
    }

    // The next action. By kind, `choice` is: erase, the Backspace presses; filter, the entry;
    // search, 1 ticks Check1 and 2 Check2; add (each name) and edit, the gender entry (-1
    // leaves it); delete, 1 answers Yes; other-change, the columns written (1 name, 2 meaning,
    // 4 gender); other-reuse, 1 keeps the name. `extra` 1 aims the other program at the
    // selected entry's row. An edit's `more` is what the other program does meanwhile.
    Action step()
    {
        Action a = make(Kind::Enter);
        const int r = below(100);
        if (r < 28) {
            // The name box: typing goes along one name, a few letters deep, then erases.
            if (box.isEmpty()) {
                target = variant(any(namePool()));
                stop = qMin<qsizetype>(1 + below(5), target.size());
            }
            if (r >= 20 || box.size() >= stop) {
                a.kind = Kind::Erase;
                a.choice = r >= 20 ? 1 + below(2) : static_cast<int>(box.size()) + below(2);
                box.chop(a.choice);
            } else {
                a.kind = Kind::Type;
                a.row[Name] = target.mid(box.size(), 1 + below(2));
                box += a.row[Name].toString();
            }
        } else if (r < 33) {
            a.kind = Kind::Filter;
            a.choice = below(3);
        } else if (r < 42) {
            a.kind = Kind::Search;
            a.choice = below(4);
            // Now and then a text too long to search (the list stays as it was).
            a.row[Name] = chance(3) ? QString(tooLongSearch, u'م') : prefix();
        } else if (r < 58) {
            a.kind = Kind::Select;
        } else if (r < 61) {
            a.kind = Kind::Enter;
        } else if (r < 65) {
            a.kind = Kind::Add;
            for (int n = 1 + below(3); n > 0; --n) {
                Action item;
                item.choice = below(2);
                item.row = {name(), meaning(), {}};
                a.more.append(item);
            }
        } else if (r < 75) {
            a.kind = Kind::Edit;
            a.row = {chance(50) ? name() : QVariant(), chance(40) ? meaning() : QVariant(), {}};
            a.choice = chance(40) ? below(2) : -1;
            if (chance(25)) // the other program, while the window is open
                a.more.append(written(82 + below(18)));
        } else if (r < 82) {
            a.kind = Kind::Delete;
            a.choice = chance(85) ? 1 : 0;
        } else {
            a = written(r);
        }
        return a;
    }

    // The other program's action for `r` in [82, 100).
    Action written(int r)
    {
        Action a = make(r < 87   ? Kind::OtherAdd
                        : r < 93 ? Kind::OtherChange
                        : r < 97 ? Kind::OtherDelete
                                 : Kind::OtherReuse);
        a.choice = a.kind == Kind::OtherChange ? 1 + below(7) : below(2);
        a.extra = a.kind == Kind::OtherAdd ? 0 : below(2);
        a.row = {name(true), meaning(true), gender()};
        return a;
    }

    QRandomGenerator rng;
    QString box, target; // the name box's text as typed so far, and the name it heads for
    qsizetype stop = 0;
};

// ---- The model -----------------------------------------------------------------------------

// An entry of the list: its row's id and its name as read.
struct Listed
{
    store::NameId id;
    QString name;
    friend bool operator==(const Listed&, const Listed&) = default;
};

int genderIndex(const QVariant& gender)
{
    return text(gender) == u"m"_s ? 0 : text(gender) == u"f"_s ? 1 : -1;
}

bool begins(const QVariant& stored, const QString& typed)
{
    return persian::fold(text(stored)).startsWith(persian::fold(typed));
}

struct Model
{
    std::map<store::NameId, Row> rows;
    store::NameId lastId = 0; // AUTOINCREMENT: an id is never given twice
    QList<Listed> list;
    bool refilled = false; // by the last step: the order is checked, then taken over
    int selected = -1;
    std::optional<store::NameId> shownId;
    QString shownName, shownMeaning, shownGender; // the details panel
    Row shownRead;                                // the row as the details panel read it
    QString typedName, searchText;
    int filter = 2;
    bool inNames = true, inMeanings = false;

    template <typename Keep> void fill(Keep keep)
    {
        list.clear();
        for (const auto& [id, row] : rows)
            if (keep(row))
                list.append({id, text(row[Name])});
        selected = -1;
        refilled = true;
    }
    void fillNames()
    {
        fill([this](const Row& row) { return begins(row[Name], typedName); });
    }
    void fillGender()
    {
        fill([this](const Row& row) { return filter == 2 || genderIndex(row[Gender]) == filter; });
    }
    // The row of the entry `at`, if it still holds the name the list read.
    Row* listedRow(int at)
    {
        const auto it = rows.find(list[at].id);
        return it != rows.end() && text(it->second[Name]) == list[at].name ? &it->second : nullptr;
    }
    void showDetails()
    {
        if (selected < 0)
            return;
        const Row* row = listedRow(selected);
        if (!row)
            return clearDetails();
        shownId = list[selected].id;
        shownName = list[selected].name;
        shownRead = *row;
        shownMeaning = text((*row)[Meaning]);
        const int gender = genderIndex((*row)[Gender]);
        shownGender = gender < 0 ? QString() : gender ? u"مونث"_s : u"مذکر"_s;
    }
    void clearDetails()
    {
        shownId.reset();
        shownName = shownMeaning = shownGender = QString();
    }
};

// The details panel may break a long meaning into shorter lines: the shown text is the stored
// one with line breaks added, and nothing else.
bool sameMeaning(const QString& shown, const QString& stored)
{
    qsizetype i = 0;
    for (const QChar c : shown) {
        if (i < stored.size() && stored[i] == c)
            ++i;
        else if (c != u'\n')
            return false;
    }
    return i == stored.size();
}

// ---- Playing the actions on the real window ------------------------------------------------

// Types `text` at the box's cursor: a long text is pasted, a line break is Ctrl+Enter.
void enter(QWidget* box, const QString& text)
{
    if (text.size() > 200) {
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->insert(text);
        else
            qobject_cast<QPlainTextEdit*>(box)->insertPlainText(text);
        return;
    }
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        testsupport::typeText(box, lines[i]);
    }
}

void retype(QWidget* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    enter(box, text);
}

class Run
{
public:
    explicit Run(const QList<dbfile::Entry>& start) : f(start, MainWindowFixture::Active)
    {
        for (const dbfile::Entry& entry : start)
            m.rows[++m.lastId] = {entry.name, entry.meaning, entry.gender};
        m.fillGender();
        // A box nobody answered or a window that should not be open is closed and noted, so
        // that the run goes on to report it.
        watchdog.callOnTimeout([this] {
            QWidget* window = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                // The report of a failed operation shows itself; the one expected is closed.
                if (box->text() == errorExpected)
                    errorExpected.clear();
                else
                    problems << u"boxes: a box nobody expected: "_s + box->text();
                box->reject();
            } else if (window && !windowExpected) {
                problems << u"window: unexpected "_s + window->objectName();
                window->close();
            }
        });
        watchdog.start(20);
    }
    ~Run()
    {
        // Answers a failed step left over go to boxes nobody sees.
        for (; pending > 0; --pending)
            MessageBox::information(nullptr, QString());
        MessageBox::takeAnswered();
    }

    QString step(const Action& a)
    {
        m.refilled = false;
        boxes.clear();
        problems.clear();
        play(a);
        const QStringList answered = MessageBox::takeAnswered();
        pending -= static_cast<int>(answered.size());
        if (!problems.isEmpty())
            return problems.join(u'\n');
        if (answered != boxes)
            return u"boxes: shown [%1], expected [%2]"_s.arg(answered.join(u" | "_s),
                                                             boxes.join(u" | "_s));
        return check();
    }

    QString check()
    {
        QList<QVariantList> rows;
        for (const auto& [id, row] : m.rows)
            rows.append(QVariantList{id} + row);
        if (QString problem = difference("table: row", f.table(), rows, same, shownRow);
            !problem.isEmpty())
            return problem;
        if (QString problem = checkList(); !problem.isEmpty())
            return problem;
        if (f.count() != QString::number(m.list.size()) || f.list()->currentRow() != m.selected)
            return u"count: %1 with entry %2 selected, expected %3 with %4"_s.arg(f.count())
                .arg(f.list()->currentRow())
                .arg(m.list.size())
                .arg(m.selected);
        const Row details{f.find<QLabel>("namestr")->text(),
                          f.find<QPlainTextEdit>("meanlbl")->toPlainText(),
                          f.find<QLabel>("sexlbl")->text()};
        const Row expected{m.shownName, m.shownMeaning, m.shownGender};
        if (!same({details[Name], details[Gender]}, {expected[Name], expected[Gender]}) ||
            !sameMeaning(text(details[Meaning]), m.shownMeaning) ||
            f.find<QLabel>("Picture1")->pixmap().isNull() != m.shownGender.isEmpty())
            return u"details: %1, expected %2"_s.arg(shownRow(details), shownRow(expected));
        if (f.find<QLineEdit>("txtName")->text() != m.typedName ||
            f.find<QLineEdit>("txtSearch")->text() != m.searchText ||
            f.find<QComboBox>("Combo1")->currentIndex() != m.filter ||
            f.find<QCheckBox>("Check1")->isChecked() != m.inNames ||
            f.find<QCheckBox>("Check2")->isChecked() != m.inMeanings)
            return u"controls: txtName, txtSearch, Combo1, Check1 or Check2 is not as set"_s;
        return {};
    }

private:
    // The list holds the entries the model expects; after a fill, the rows the fill should
    // read in the store's order (equal order keys in any order), which the model takes over.
    QString checkList()
    {
        QList<Listed> entries;
        for (int row = 0; row < f.list()->count(); ++row)
            entries.append({f.list()->idAt(row), f.list()->textAt(row)});
        auto show = [](const Listed& e) {
            return u"%1 %2"_s.arg(e.id).arg(shown(e.name));
        };
        if (m.refilled) {
            QList<Listed> byId = entries;
            std::sort(byId.begin(), byId.end(),
                      [](const Listed& a, const Listed& b) { return a.id < b.id; });
            if (byId != m.list)
                return difference("list: by id, entry", byId, m.list, std::equal_to<>(), show);
            for (qsizetype i = 1; i < entries.size(); ++i)
                if (store::orderkey::of(entries[i].name).toUtf8() <
                    store::orderkey::of(entries[i - 1].name).toUtf8())
                    return u"list: entry %1 is out of order: "_s.arg(i) + show(entries[i]);
            m.list = entries;
        }
        return difference("list: entry", entries, m.list, std::equal_to<>(), show);
    }

    void expectBox(MessageBox::Answer answer, const QString& text)
    {
        MessageBox::setNextAnswer(answer);
        ++pending;
        boxes << text;
    }

    void play(const Action& a)
    {
        auto* nameFilter = f.find<QLineEdit>("txtName");
        switch (a.kind) {
        case Kind::Type:
            testsupport::typeText(nameFilter, text(a.row[Name]));
            m.typedName += text(a.row[Name]);
            return m.fillNames();
        case Kind::Erase:
            for (int i = 0; i < a.choice; ++i) {
                QTest::keyClick(nameFilter, Qt::Key_Backspace);
                if (!m.typedName.isEmpty()) {
                    m.typedName.chop(1);
                    m.fillNames();
                }
            }
            return;
        case Kind::Filter:
            f.chooseFilter(a.choice);
            m.searchText.clear();
            m.filter = a.choice;
            return m.fillGender();
        case Kind::Search:
            return search(a);
        case Kind::Select:
            if (m.list.isEmpty())
                return;
            m.selected = static_cast<int>(a.pick % m.list.size());
            f.list()->scrollTo(f.list()->model()->index(m.selected));
            f.select(m.selected);
            return m.showDetails();
        case Kind::Enter:
            QTest::keyClick(f.list(), Qt::Key_Return);
            return m.showDetails();
        case Kind::Add:
            return add(a);
        case Kind::Edit:
            return edit(a);
        case Kind::Delete:
            return remove(a);
        default:
            return other(a);
        }
    }

    void search(const Action& a)
    {
        const bool tooLong = text(a.row[Name]).size() == tooLongSearch;
        if (tooLong)
            errorExpected = ErrorReport::text(
                store::Error(store::Error::Kind::SearchTooLong, f.folder.dbPath()));
        for (const auto& [box, bit] : {std::pair{"Check1", 1}, std::pair{"Check2", 2}})
            if (f.find<QCheckBox>(box)->isChecked() != bool(a.choice & bit))
                f.find<QCheckBox>(box)->click();
        retype(f.find<QLineEdit>("txtSearch"), text(a.row[Name]));
        QTest::mouseClick(f.find<QPushButton>("Command1"), Qt::LeftButton);
        // Neither box ticked ticks both.
        m.searchText = text(a.row[Name]);
        m.inNames = a.choice == 0 || (a.choice & 1);
        m.inMeanings = a.choice == 0 || (a.choice & 2);
        if (tooLong) {
            // Reported, and the list and its count stay as they were.
            if (!errorExpected.isEmpty())
                problems << u"boxes: the report of a search too long did not show"_s;
            errorExpected.clear();
            return;
        }
        m.fill([this](const Row& row) {
            return (m.inNames && begins(row[Name], m.searchText)) ||
                   (m.inMeanings && begins(row[Meaning], m.searchText));
        });
    }

    void add(const Action& a)
    {
        windowExpected = true;
        OnModal script([&](QWidget* window) {
            for (const Action& item : a.more) {
                const QString name = text(item.row[Name]);
                genderBox(window)->setCurrentIndex(item.choice);
                enter(meaningBox(window), text(item.row[Meaning]));
                enter(nameBox(window), name);
                if (name.isEmpty())
                    expectBox(MessageBox::Ok, messages::enterNameAndMeaning());
                else
                    m.rows[++m.lastId] = {name, text(item.row[Meaning]),
                                          item.choice ? u"f"_s : u"m"_s};
                QTest::keyClick(nameBox(window), Qt::Key_Return);
                // A refused name leaves what was typed: the user clears it and clicks back
                // into the name box.
                if (name.isEmpty()) {
                    QTest::mouseClick(control(window, "cmdClear"), Qt::LeftButton);
                    QTest::mouseClick(nameBox(window), Qt::LeftButton);
                }
            }
            QTest::keyClick(nameBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_N);
        windowExpected = false;
        if (!script.ran())
            problems << u"window: the add window did not open"_s;
        // However the window was left: all names, the search box emptied.
        m.searchText.clear();
        m.filter = 2;
        m.fillGender();
    }

    void edit(const Action& a)
    {
        const int at = m.selected;
        const Row* current = at >= 0 ? m.listedRow(at) : nullptr;
        if (at < 0 || m.list[at].name.isEmpty() || !current) {
            expectBox(MessageBox::Ok, at < 0 || m.list[at].name.isEmpty() ? messages::selectName()
                                                                          : messages::nameIsGone());
            return f.press(Qt::Key_E);
        }
        const store::NameId id = m.list[at].id;
        const Row loaded = *current;
        const int loadedGender = genderIndex(loaded[Gender]);
        const QString name = text(a.row[Name].isNull() ? loaded[Name] : a.row[Name]);
        const QString meaning = text(a.row[Meaning].isNull() ? loaded[Meaning] : a.row[Meaning]);
        bool saved = false;
        windowExpected = true;
        OnModal script([&](QWidget* window) {
            const Row opened{nameBox(window)->text(), meaningText(window),
                             genderBox(window)->currentIndex()};
            if (!same(opened, {text(loaded[Name]), text(loaded[Meaning]), loadedGender}))
                problems << u"window: the edit window shows "_s + shownRow(opened);
            if (!a.row[Name].isNull())
                retype(nameBox(window), name);
            if (!a.row[Meaning].isNull())
                retype(meaningBox(window), meaning);
            if (a.choice >= 0)
                genderBox(window)->setCurrentIndex(a.choice);
            for (const Action& meanwhile : a.more)
                other(meanwhile);
            const auto now = m.rows.find(id);
            if (name.isEmpty()) {
                expectBox(MessageBox::Ok, messages::fillTheField());
            } else if (now == m.rows.end() || text(now->second[Name]) != text(loaded[Name])) {
                expectBox(MessageBox::Ok, messages::nameIsGone());
            } else if (!same(now->second, loaded)) {
                expectBox(MessageBox::Ok, messages::nameChangedNotSaved());
            } else {
                // Only what the user changed is written.
                if (name != text(loaded[Name]))
                    now->second[Name] = name;
                if (meaning != text(loaded[Meaning]))
                    now->second[Meaning] = meaning;
                if (a.choice >= 0 && a.choice != loadedGender)
                    now->second[Gender] = a.choice ? u"f"_s : u"m"_s;
                saved = true;
            }
            QTest::keyClick(nameBox(window), Qt::Key_Return);
            if (window->isVisible() == saved)
                problems << (saved ? u"window: the edit window stayed open"_s
                                   : u"window: the edit window closed"_s);
            if (window->isVisible())
                QTest::keyClick(nameBox(window), Qt::Key_Escape);
        });
        f.press(Qt::Key_E);
        windowExpected = false;
        if (!script.ran())
            problems << u"window: the edit window did not open"_s;
        if (saved) {
            // The entry shows the new name where it stood.
            m.list[at].name = name;
            if (m.shownId == id)
                m.showDetails();
        }
    }

    void remove(const Action& a)
    {
        expectBox(a.choice ? MessageBox::Yes : MessageBox::No, messages::confirmDelete());
        const int at = m.selected;
        if (a.choice && (at < 0 || m.list[at].name.isEmpty())) {
            expectBox(MessageBox::Ok, messages::selectName());
        } else if (a.choice) {
            const store::NameId id = m.list[at].id;
            const Row* now = m.listedRow(at);
            // What the delete checks the row against: the row as the details panel read it
            // when it shows this entry, else as it is.
            const bool shownIsEntry = m.shownId == id && m.shownName == m.list[at].name;
            if (now && shownIsEntry && !same(*now, m.shownRead)) {
                // Changed by another program: nothing goes, the entry shows the row anew.
                expectBox(MessageBox::Ok, messages::nameChangedNotDeleted());
                f.press(Qt::Key_D);
                return m.showDetails();
            }
            // A row that is no longer what the list read stays; its entry goes all the same.
            if (now)
                m.rows.erase(id);
            else
                expectBox(MessageBox::Ok, messages::nameIsGone());
            m.list.removeAt(at);
            m.selected = -1;
            if (m.shownId == id)
                m.clearDetails();
        }
        f.press(Qt::Key_D);
    }

    // Another program writing db.mdb directly.
    void other(const Action& a)
    {
        static const QString columns[] = {u"p_name"_s, u"means"_s, u"gender"_s};
        const QVariantList values(a.row.begin(), a.row.end());
        if (a.kind == Kind::OtherAdd) {
            f.folder.exec(u"INSERT INTO vardel (p_name, means, gender) VALUES (?, ?, ?)"_s, values);
            m.rows[++m.lastId] = a.row;
            return;
        }
        // The selected entry's row, or any.
        const bool aimed = a.extra && m.selected >= 0 && m.rows.count(m.list[m.selected].id);
        if (m.rows.empty())
            return;
        const store::NameId id = aimed ? m.list[m.selected].id
                                       : std::next(m.rows.begin(), a.pick % m.rows.size())->first;
        Row& row = m.rows[id];
        if (a.kind == Kind::OtherChange) {
            QStringList set;
            QVariantList written;
            for (int c : {Name, Meaning, Gender}) {
                if (a.choice & (1 << c)) {
                    set << columns[c] + u" = ?"_s;
                    written << a.row[c];
                    row[c] = a.row[c];
                }
            }
            f.folder.exec(u"UPDATE vardel SET %1 WHERE id = ?"_s.arg(set.join(u", "_s)),
                          written << id);
            return;
        }
        f.folder.exec(u"DELETE FROM vardel WHERE id = ?"_s, {id});
        if (a.kind == Kind::OtherDelete) {
            m.rows.erase(id);
            return;
        }
        // The id comes back; with the same name it is the same row to the program.
        row = {a.choice ? row[Name] : a.row[Name], a.row[Meaning], a.row[Gender]};
        f.folder.exec(u"INSERT INTO vardel (id, p_name, means, gender) VALUES (?, ?, ?, ?)"_s,
                      {id, row[Name], row[Meaning], row[Gender]});
    }

    CountingKeyboard keyboard; // a fast keyboard, before the window that switches it
    MainWindowFixture f;
    Model m;
    QTimer watchdog;
    bool windowExpected = false;
    QString errorExpected; // the report of a failed operation that is to show
    QStringList boxes, problems;
    int pending = 0; // answers given to MessageBox and not yet taken
};

// ---- Replaying and shrinking ---------------------------------------------------------------

struct Outcome
{
    bool failed = false;
    qsizetype played = 0; // actions played, the failing one included
    QString what;
};

Outcome replay(const QList<dbfile::Entry>& start, const QList<Action>& all, const QList<int>& keep)
{
    Run run(start);
    if (QString what = run.check(); !what.isEmpty())
        return {true, 0, what};
    for (qsizetype i = 0; i < keep.size(); ++i)
        if (QString what = run.step(all[keep[i]]); !what.isEmpty())
            return {true, i + 1, what};
    return {};
}

// Removes ever smaller chunks of actions as long as the same kind of failure stays and time
// is left; each try replays from a fresh folder.
QList<int> shrink(const QList<dbfile::Entry>& start, const QList<Action>& all, QList<int> keep,
                  const QString& kind)
{
    QElapsedTimer clock;
    clock.start();
    for (qsizetype chunk = keep.size() / 2; chunk > 0 && clock.elapsed() < shrinkBudgetMs;) {
        bool removed = false;
        for (qsizetype at = 0; at < keep.size() && clock.elapsed() < shrinkBudgetMs;) {
            QList<int> candidate = keep;
            candidate.remove(at, qMin(chunk, keep.size() - at));
            const Outcome outcome = replay(start, all, candidate);
            if (outcome.failed && outcome.what.section(u':', 0, 0) == kind) {
                keep = candidate.first(outcome.played);
                removed = true;
            } else {
                at += chunk;
            }
        }
        chunk = qMin(removed ? chunk : chunk / 2, keep.size());
    }
    return keep;
}

// "3,7-9" for {3, 7, 8, 9}, and back.
QString indices(const QList<int>& keep)
{
    QStringList parts;
    for (qsizetype i = 0, j = 0; i < keep.size(); i = ++j) {
        while (j + 1 < keep.size() && keep[j + 1] == keep[j] + 1)
            ++j;
        parts << (i == j ? QString::number(keep[i]) : u"%1-%2"_s.arg(keep[i]).arg(keep[j]));
    }
    return parts.join(u',');
}

QList<int> parseIndices(const QString& text, int count)
{
    QList<int> keep;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts))
        for (int i = part.section(u'-', 0, 0).toInt(); i <= part.section(u'-', -1).toInt(); ++i)
            if (i < count)
                keep << i;
    return keep;
}

} // namespace

class ModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void userAndAnotherProgram()
    {
        const quint64 seed = qEnvironmentVariableIsSet("VARDEL_MODEL_SEED")
                                 ? qEnvironmentVariable("VARDEL_MODEL_SEED").toULongLong()
                                 : ciSeed;
        const int steps = qEnvironmentVariableIsSet("VARDEL_MODEL_STEPS")
                              ? qEnvironmentVariableIntValue("VARDEL_MODEL_STEPS")
                              : defaultSteps;
        Generator generator(seed);
        const QList<dbfile::Entry> start = generator.start(200);
        const QList<Action> all = generator.actions(steps);
        QList<int> keep(steps);
        std::iota(keep.begin(), keep.end(), 0);
        if (qEnvironmentVariableIsSet("VARDEL_MODEL_REPLAY"))
            keep = parseIndices(qEnvironmentVariable("VARDEL_MODEL_REPLAY"), steps);

        QElapsedTimer clock;
        clock.start();
        Outcome outcome = replay(start, all, keep);
        qInfo("seed %llu: %lld actions played in %lld ms", seed,
              static_cast<long long>(outcome.failed ? outcome.played : keep.size()),
              static_cast<long long>(clock.elapsed()));
        if (!outcome.failed)
            return;

        keep = keep.first(outcome.played);
        const QList<int> shortened = shrink(start, all, keep, outcome.what.section(u':', 0, 0));
        if (const Outcome again = replay(start, all, shortened); again.failed) {
            outcome = again;
            keep = shortened.first(again.played);
        }
        QString report = u"seed %1, %2 steps: after %3 actions: %4\nreplay: VARDEL_MODEL_SEED=%1 "
                         "VARDEL_MODEL_STEPS=%2 VARDEL_MODEL_REPLAY=%5\nactions:"_s.arg(seed)
                             .arg(steps)
                             .arg(outcome.played)
                             .arg(outcome.what, indices(keep));
        for (const int i : std::as_const(keep))
            report += u"\n  #%1 "_s.arg(i) + describe(all[i]);
        QFAIL(qPrintable(report));
    }
};

QTEST_MAIN(ModelTest)
#include "tst_model.moc"
