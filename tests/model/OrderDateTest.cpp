// The order's date survives a change of locale between saving and loading.
#include "model/Order.h"

#include "model/ApplicationLinks.h"
#include "model/Setup.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace lintaro;

namespace {

QByteArray withDate(const QByteArray& order, const QByteArray& date) {
    QByteArray text = order;
    const qsizetype at = text.indexOf("DateCreate=");
    const qsizetype end = text.indexOf("\r\n", at);
    return text.replace(at, end - at, "DateCreate=" + date);
}

} // namespace

TEST(OrderDate, SavedUnderTheCzechLocaleLoadsUnderTheUSOne) {
    TSetup setup;
    TApplicationLinks::SetSetup(&setup);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dated.LNO"));
    {
        ScopedLocale czech(Locale::czech());
        TOrder order;
        order.CreateNew();
        order.SetDateCreate(QDateTime(QDate(2024, 3, 15), QTime(0, 0), Qt::UTC));
        ASSERT_TRUE(order.SaveToFile(path)) << order.ErrorString().toStdString();
    }
    const QByteArray saved = test::readFileBytes(path);
    ASSERT_TRUE(saved.contains("DateCreate=15.03.2024\r\n"));

    ScopedLocale us(Locale::unitedStates());
    // The user's short form, then ISO 8601, then the Central European form; anything else is no date.
    const struct {
        QByteArray stored;
        QDate expected;
    } cases[] = {
        {"15.03.2024", QDate(2024, 3, 15)},
        {"3/15/2024", QDate(2024, 3, 15)},
        {"2024-03-15", QDate(2024, 3, 15)},
        {"15.03.2024 10:30", QDate(2024, 3, 15)},
        {"15/03/2024", QDate()},
        {"", QDate()},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(test::writeFileBytes(path, withDate(saved, c.stored)));
        TOrder order;
        TApplicationLinks::SetOrder(&order);
        ASSERT_TRUE(order.LoadFromFile(path)) << order.ErrorString().toStdString();
        EXPECT_EQ(order.DateCreate().date(), c.expected) << c.stored.toStdString();
        if (c.expected.isValid()) {
            // Saved again, it is written in the form of the locale in force.
            ASSERT_TRUE(order.SaveToFile(path));
            EXPECT_TRUE(test::readFileBytes(path).contains("DateCreate=3/15/2024\r\n"));
        }
        TApplicationLinks::SetOrder(nullptr);
    }
    TApplicationLinks::SetSetup(nullptr);
}
