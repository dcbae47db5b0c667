// vardel-startfloor: the floor of Vardel's start-up, started by vardel-bench like the program.
// A bare program with a window of the main window's size, a bare QListView where Vardel's list
// is, in the font the list shows, that opens db.mdb beside the executable, reads all names and
// shows them: with order keys in the order of their index; in a plain four-column file with
// SQLite's own scan in its built-in order, then sorted with ICU's Persian collation in C++.
//
//   vardel-startfloor WIDTH HEIGHT LIST-X LIST-Y LIST-WIDTH LIST-HEIGHT FAMILY POINTS [PARTS]
//
// Built a second time as vardel-startparts, linked with the program's libraries, where PARTS
// (a comma-separated list) adds pieces of Vardel's own start-up, to find what the time above
// the floor is: fonts (the Tahoma substitutes), style, icon (the window icon), translation
// (Qt's Persian texts), collation (the Persian collation and folding registered on the
// connection, the collation used once), window (Vardel's whole main window instead of the
// bare one: its controls, with the same list).
#ifdef VARDEL_STARTPARTS
#include "app/frmmain.h"
#include "app/startup.h"
#include "look/look.h"
#include "store/persian.h"
#endif

#include <algorithm>
#include <QApplication>
#include <QListView>
#include <QStringListModel>
#include <sqlite3.h>
#include <unicode/ucol.h>
#include <vector>

namespace {

// All names of db.mdb in `folder`, in Persian alphabetical order.
QStringList readNames(const QString& folder, bool registerPersian)
{
    sqlite3* db = nullptr;
    const QByteArray path = (folder + QStringLiteral("/db.mdb")).toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        qFatal("cannot open %s", path.constData());
#ifdef VARDEL_STARTPARTS
    if (registerPersian)
        persian::registerOn(db);
#else
    Q_UNUSED(registerPersian);
#endif
    sqlite3_stmt* statement = nullptr;
    const bool keyed = sqlite3_prepare_v2(db, "SELECT p_name FROM vardel ORDER BY p_order, p_name",
                                          -1, &statement, nullptr) == SQLITE_OK;
    if (!keyed && sqlite3_prepare_v2(db, "SELECT p_name FROM vardel ORDER BY p_name", -1,
                                     &statement, nullptr) != SQLITE_OK)
        qFatal("cannot read %s", path.constData());
    std::vector<QByteArray> names;
    while (sqlite3_step(statement) == SQLITE_ROW)
        names.emplace_back(static_cast<const char*>(sqlite3_column_blob(statement, 0)),
                           sqlite3_column_bytes(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (!keyed) {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* collator = ucol_open("fa", &status);
        std::stable_sort(names.begin(), names.end(), [&](const QByteArray& a, const QByteArray& b) {
            UErrorCode error = U_ZERO_ERROR;
            return ucol_strcollUTF8(collator, a.constData(), static_cast<int32_t>(a.size()),
                                    b.constData(), static_cast<int32_t>(b.size()),
                                    &error) == UCOL_LESS;
        });
        ucol_close(collator);
    }
    QStringList strings;
    strings.reserve(static_cast<qsizetype>(names.size()));
    for (const QByteArray& name : names)
        strings << QString::fromUtf8(name);
    return strings;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 9)
        qFatal("usage: vardel-startfloor WIDTH HEIGHT LIST-X LIST-Y LIST-WIDTH LIST-HEIGHT FAMILY "
               "POINTS [PARTS]");
    const QStringList parts = args.value(9).split(QLatin1Char(','), Qt::SkipEmptyParts);
    auto with = [&](const char* part) {
        return parts.contains(QLatin1String(part));
    };
#ifdef VARDEL_STARTPARTS
    if (with("icon"))
        QApplication::setWindowIcon(look::windowIcon());
    if (with("fonts"))
        look::installFontSubstitutes();
    if (with("style"))
        look::installStyle();
    if (with("translation"))
        startup::installQtTranslation();
    if (with("collation")) {
        const QByteArray a = QStringLiteral("آرش").toUtf8();
        const QByteArray b = QStringLiteral("ابراهیم").toUtf8();
        (void)persian::compare({a.constData(), static_cast<size_t>(a.size())},
                               {b.constData(), static_cast<size_t>(b.size())});
    }
    if (with("window")) {
        // Vardel's own start-up from here on: the main window, its load and its first fill.
        const auto window = startup::showMainWindow(QApplication::applicationDirPath());
        return window ? QApplication::exec() : 1;
    }
#endif

    QWidget window;
    window.setFixedSize(args[1].toInt(), args[2].toInt());
    window.setLayoutDirection(Qt::RightToLeft);
    QListView list(&window);
    list.setGeometry(args[3].toInt(), args[4].toInt(), args[5].toInt(), args[6].toInt());
    QFont font(args[7]);
    font.setPointSizeF(args[8].toDouble());
    list.setFont(font);
    list.setUniformItemSizes(true);
    QStringListModel model(readNames(QApplication::applicationDirPath(), with("collation")));
    list.setModel(&model);
    window.show();
    return QApplication::exec();
}
