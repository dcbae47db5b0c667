#pragma once

#include <QString>

// The texts the name windows and the name commands show in message boxes.
namespace editing::messages {

// The add window's answer to an empty name.
inline QString enterNameAndMeaning()
{
    return QStringLiteral("لطفاً نام و معني را وارو نماييد");
}

// The edit window's answer to an empty name.
inline QString fillTheField()
{
    return QStringLiteral("feild full plz");
}

// Edit or delete with no entry selected in the name list.
inline QString selectName()
{
    return QStringLiteral("لطفا نامي را انتخاب کنيد");
}

// The question before a name is deleted.
inline QString confirmDelete()
{
    return QStringLiteral("آيا مطمئن هستيد ميخواهيد اين نام را حذف کنيد؟");
}

// The selected entry's row is no longer in the table: another program removed it. Our own
// texts from here on, in standard Persian letters.
inline QString nameIsGone()
{
    // clang-format counts bytes, not letters, and never settles on these Persian texts.
    // clang-format off
    return QStringLiteral("این نام دیگر در پایگاه داده نیست؛ "
                          "برنامه‌ی دیگری آن را حذف کرده است.");
    // clang-format on
}

// Delete found the selected entry's row changed by another program since it was read.
inline QString nameChangedNotDeleted()
{
    // clang-format off
    return QStringLiteral("برنامه‌ی دیگری این نام را پس از خواندن آن تغییر داده است؛ "
                          "چیزی حذف نشد. آنچه اکنون در پایگاه داده است نشان داده می‌شود.");
    // clang-format on
}

// Save found the row changed by another program since the edit window read it.
inline QString nameChangedNotSaved()
{
    // clang-format off
    return QStringLiteral("برنامه‌ی دیگری این نام را پس از باز شدن این پنجره تغییر داده است؛ "
                          "تغییرات شما ذخیره نشد.");
    // clang-format on
}

} // namespace editing::messages
