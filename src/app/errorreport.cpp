#include "app/errorreport.h"

#include "app/messagebox.h"
#include "editing/messages.h"
#include "store/error.h"

namespace {

// What went wrong, in the user's words; %1 is the file.
// clang-format counts bytes, not letters, and never settles on these Persian texts.
// clang-format off
QString describe(store::Error::Kind kind)
{
    using Kind = store::Error::Kind;
    switch (kind) {
    case Kind::FileMissing:
        return QStringLiteral("فایل پایگاه داده پیدا نشد: %1");
    case Kind::NotADatabase:
        return QStringLiteral("فایل %1 پایگاه داده‌ی SQLite نیست یا آسیب دیده است.");
    case Kind::TableUnusable:
        return QStringLiteral("جدول نام‌ها در فایل %1 قابل استفاده نیست: جدول vardel باید "
                              "ستون‌های p_name، means و gender و ستون id با شماره‌ی خودکار "
                              "(INTEGER PRIMARY KEY) داشته باشد.");
    case Kind::Locked:
        return QStringLiteral("برنامه‌ی دیگری فایل %1 را در دست دارد. کمی بعد دوباره امتحان کنید.");
    case Kind::ReadOnly:
        return QStringLiteral("در فایل %1 نمی‌توان نوشت: فایل یا پوشه‌ی آن فقط‌خواندنی است.");
    case Kind::Full:
        return QStringLiteral("دیسک پر است و فایل %1 جای بیشتری ندارد.");
    case Kind::RowGone:
        return editing::messages::nameIsGone();
    case Kind::RowChanged:
        return QStringLiteral("برنامه‌ی دیگری این نام را پس از خواندن آن تغییر داده است؛ چیزی "
                              "نوشته نشد.");
    case Kind::PathTooLong:
        return QStringLiteral("مسیر پوشه‌ی برنامه برای پایگاه داده بیش از اندازه بلند است: مسیر "
                              "کامل فایل %1 باید حداکثر %3 %4 باشد و اکنون %2 %4 است%5. برنامه "
                              "را به پوشه‌ای با مسیر کوتاه‌تر ببرید.");
    case Kind::SearchTooLong:
        return QStringLiteral("متن جستجو بیش از اندازه بلند است؛ متن کوتاه‌تری بنویسید.");
    case Kind::NoUserCopy:
        return QStringLiteral("پایگاه داده‌ی نام‌های شما در %1 ساخته نشد: رونوشت پایگاه داده‌ی "
                              "آغازین برنامه در آنجا ممکن نبود.");
    case Kind::Other:
        break;
    }
    return QStringLiteral("خطا در پایگاه داده‌ی %1.");
}
// clang-format on

} // namespace

QString ErrorReport::text(const store::Error& error)
{
    QString text = describe(error.kind());
    // The file's path reads left to right inside the Persian sentence, its first slash too.
    const QString file = QChar(0x2066) + error.file() + QChar(0x2069);
    // One pass, so that nothing in the file's path is taken for a place of another value.
    if (error.kind() == store::Error::Kind::PathTooLong)
        return text.arg(
            file, QString::number(error.pathLength()), QString::number(error.pathLimit()),
            error.pathInCharacters() ? QStringLiteral("نویسه") : QStringLiteral("بایت"),
            error.pathInCharacters() ? QString() : QStringLiteral(" (هر حرف فارسی دو بایت است)"));
    if (text.contains(QStringLiteral("%1")))
        text = text.arg(file);
    if (error.details().isEmpty())
        return text;
    if (error.sqliteCode() == 0)
        return text + QStringLiteral("\n\n(%1)").arg(error.details());
    text += QStringLiteral("\n\n(SQLite %1: %2)").arg(error.sqliteCode()).arg(error.details());
    return text;
}

void ErrorReport::show(QWidget* parent, const store::Error& error)
{
    MessageBox::critical(parent, QStringLiteral("Vardel"), text(error));
}
