#include "admin/UserLists.h"
#include "foundation/SystemDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"
#include "tests/support/ExamDbFixture.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace {

// "code login first" per listed user, as the one read of every user gives it.
QStringList expectedRows(db::Connection& system)
{
    QStringList rows;
    for (const SystemDatabase::Profile& user : SystemDatabase(system).listedProfiles())
        rows << QStringLiteral("%1 %2 %3").arg(user.code).arg(user.login, user.firstName);
    return rows;
}

QString rowText(const SystemDatabase::ListedUser& user)
{
    return QStringLiteral("%1 %2 %3").arg(user.code).arg(user.login, user.firstName);
}

class UserListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStartupState();
        system = fixture.openSystem();
    }

    // `count` users over several pages, with administrator rows (any case)
    // and rows without a login among them, none of which are listed.
    std::vector<int> addUsers(int count)
    {
        std::vector<int> codes;
        SystemDatabase rows(system);
        db::Transaction transaction(system);
        rows.addUser({QStringLiteral("Admin"), QStringLiteral("ADMIN")});
        for (int i = 1; i <= count; ++i) {
            if (i % 97 == 0)
                system.exec(QStringLiteral("INSERT INTO Bq_User (Qu_LoginId, Qu_Password) VALUES (NULL, 'x')"));
            if (i == count / 2)
                rows.addUser({QStringLiteral("ADMIN"), QStringLiteral("x")});
            codes.push_back(
                rows.addUser({QStringLiteral("u%1").arg(i), QStringLiteral("pw"), QStringLiteral("First %1").arg(i)}));
        }
        transaction.commit();
        return codes;
    }

    ListedUsers::Source source()
    {
        return [this]() -> db::Connection& { return system; };
    }
    ListedUsers::ErrorSink sink()
    {
        return [this](const std::exception&) { ++readErrors; };
    }

    TempHome home;
    ExamDbFixture fixture{home};
    db::Connection system;
    int readErrors = 0;
};

// A page is read from the first user, from the last, or on from a page next
// to it: whatever order a view asks for the rows in, each row is the user
// that the one read of every user puts there.
TEST_F(UserListsTest, EveryRowIsTheUserAtThatPlaceWhateverOrderTheRowsAreAskedIn)
{
    addUsers(5 * ListedUsers::kPageRows + 17);
    const QStringList expected = expectedRows(system);
    const int n = int(expected.size());
    ASSERT_EQ(n, 5 * ListedUsers::kPageRows + 17);

    std::vector<int> forwards, backwards, jumps;
    for (int row = 0; row < n; ++row) {
        forwards.push_back(row);
        backwards.push_back(n - 1 - row);
    }
    // Far pages first, then their neighbours on either side, then the rest.
    for (const int row : {n - 1, 0, 2 * ListedUsers::kPageRows + 5, 3 * ListedUsers::kPageRows - 1,
                          2 * ListedUsers::kPageRows - 1, 4 * ListedUsers::kPageRows, ListedUsers::kPageRows})
        jumps.push_back(row);
    for (int row = 0; row < n; ++row)
        jumps.push_back((row * 37) % n);

    const struct {
        const char* order;
        const std::vector<int>& rows;
        bool drawn;
    } cases[] = {{"first to last", forwards, false},
                 {"last to first", backwards, true},
                 {"jumping about", jumps, false},
                 {"jumping about, drawn", jumps, true}};
    for (const auto& c : cases) {
        ListedUsers users(source(), sink());
        users.refill();
        ASSERT_EQ(users.count(), n) << c.order;
        QStringList seen(n);
        for (const int row : c.rows)
            seen[row] = rowText(c.drawn ? users.shown(row) : users.at(row));
        EXPECT_EQ(seen, expected) << c.order;
        EXPECT_TRUE(rowText(users.at(n)).startsWith(QLatin1String("0 "))) << "past the end: no user";
    }
    EXPECT_EQ(readErrors, 0);
}

TEST_F(UserListsTest, TicksComeFromTheRightsReadWithTheRowsUntilTheAdministratorOrTheWindowSetsOne)
{
    const std::vector<int> codes = addUsers(3 * ListedUsers::kPageRows);
    SystemDatabase rows(system);
    // Rights on the first and the last page: granted, NULL (lets in), refused,
    // and to another exam.
    const int granted = codes[1], nullRight = codes[codes.size() - 2], refused = codes[2], other = codes[3];
    rows.addRight(granted, QStringLiteral("EXA"), true);
    rows.addRight(nullRight, QStringLiteral("EXA"), QVariant());
    rows.addRight(refused, QStringLiteral("EXA"), false);
    rows.addRight(other, QStringLiteral("EXB"), true);

    UserTickModel model(source(), sink());
    std::vector<int> named;
    QObject::connect(&model, &UserTickModel::userTicked, [&named](int code) { named.push_back(code); });
    const auto tickedCodes = [&model] {
        std::vector<int> out;
        for (const AttachUser& user : model.ticks())
            if (user.granted)
                out.push_back(user.code);
        return out;
    };
    const auto tickAt = [&model](int row) { return model.index(row, UserTickModel::colName).data(Qt::CheckStateRole); };

    model.refill();
    EXPECT_EQ(tickedCodes().size(), codes.size()) << "a refill ticks everybody";
    EXPECT_EQ(model.index(1, UserTickModel::colName).data().toString(), QStringLiteral("First 2[ u2 ]"));
    EXPECT_EQ(model.index(1, UserTickModel::colCode).data().toString(), QString::number(granted));

    model.tickAdmittedTo(QStringLiteral(" EXA "));
    EXPECT_EQ(tickedCodes(), (std::vector<int>{granted, nullRight}));
    EXPECT_EQ(tickAt(int(codes.size()) - 2).toInt(), Qt::Checked) << "drawn as read";
    EXPECT_EQ(tickAt(2).toInt(), Qt::Unchecked);

    // The view's tick is named; the window's is not.
    EXPECT_TRUE(model.setData(model.index(2, UserTickModel::colName), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(model.setData(model.index(2, UserTickModel::colLogin), Qt::Checked, Qt::CheckStateRole));
    model.setTicked(granted, false);
    EXPECT_EQ(named, std::vector<int>{refused});
    EXPECT_EQ(tickedCodes(), (std::vector<int>{refused, nullRight}));
    EXPECT_TRUE(model.flags(model.index(0, UserTickModel::colName)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, UserTickModel::colCode)) & Qt::ItemIsUserCheckable);

    model.tickAll(false);
    EXPECT_TRUE(tickedCodes().empty());
    model.tickAll(true);
    EXPECT_EQ(tickedCodes().size(), codes.size());
    model.tickAdmittedTo(QStringLiteral("EXB"));
    EXPECT_EQ(tickedCodes(), std::vector<int>{other}) << "another exam: the ticks set before are gone";
    EXPECT_EQ(named.size(), 1u);
}

// A removed user's row goes, wherever it is, and the rows after it move up.
TEST_F(UserListsTest, ARemovedUsersRowGoesWhetherItsPageWasReadOrNot)
{
    const std::vector<int> codes = addUsers(4 * ListedUsers::kPageRows);
    UserGridModel model(source(), sink());
    model.refill();
    model.index(3, 0).data(); // the first page read, as on screen
    for (const int gone : {codes[3], codes[3 * ListedUsers::kPageRows + 5], codes.back()}) {
        SystemDatabase(system).removeUser(gone);
        model.removeUser(gone);
        model.removeUser(gone); // not listed any more: nothing changes
        QStringList shown;
        for (int row = 0; row < model.rowCount(); ++row)
            shown << QStringLiteral("%1 %2 %3")
                         .arg(model.index(row, UserGridModel::colCode).data().toString(),
                              model.index(row, UserGridModel::colLogin).data().toString(),
                              model.index(row, UserGridModel::colFirstName).data().toString());
        EXPECT_EQ(shown, expectedRows(system)) << gone;
    }
    EXPECT_EQ(model.rowOf(codes[10]), 9);
    EXPECT_EQ(model.rowOf(codes[3]), -1);
}

// Drawing never raises: a page that cannot be read shows empty rows until the
// next refill and is told once; a command reading the row tries again and
// hears of the failure.
TEST_F(UserListsTest, AFailedReadShowsEmptyRowsAndACommandReadsAgain)
{
    addUsers(2 * ListedUsers::kPageRows);
    UserGridModel model(source(), sink());
    model.refill();
    system.exec(QStringLiteral("ALTER TABLE Bq_User RENAME TO Bq_User_Away"));
    EXPECT_EQ(model.index(0, UserGridModel::colLogin).data().toString(), QString());
    EXPECT_EQ(model.index(1, UserGridModel::colCode).data().toString(), QString());
    EXPECT_EQ(readErrors, 1);
    EXPECT_THROW(model.user(0), std::exception);
    system.exec(QStringLiteral("ALTER TABLE Bq_User_Away RENAME TO Bq_User"));
    EXPECT_EQ(model.user(0).login, QStringLiteral("u1"));
    EXPECT_EQ(model.index(ListedUsers::kPageRows, UserGridModel::colLogin).data().toString(),
              QStringLiteral("u%1").arg(ListedUsers::kPageRows + 1));
    EXPECT_EQ(readErrors, 1);
}

} // namespace
